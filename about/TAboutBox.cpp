#include "about/TAboutBox.h"

#include "toolkit/FormFont.h"
#include "toolkit/ProgramIcon.h"

#include "about/FacePictures.h"
#include "toolkit/DialogRunner.h"
#include "toolkit/ScreenCentre.h"

#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <qdrawutil.h>

#include <cstdlib>
#include <ctime>

namespace sorvanti {

const QString TAboutBox::kWebPage = QStringLiteral("https://www.example.org/sorvanti/");
const QString TAboutBox::kMailAddress = QStringLiteral("sorvanti@example.org");
const QString TAboutBox::kDisplayName = QStringLiteral("そるばんち作者");

namespace {

const QColor kLinkColor(0, 0, 255);        // blue
const QColor kHoveredLinkColor(128, 0, 0); // maroon
constexpr int kWebFrame = 7;               // looking down
constexpr int kMailFrame = 8;              // looking down and right

// `face` where it exists, else the form's faces, at the form's size.
QFont fontOf(const QString& face) {
    QFont font = formFont();
    font.setFamilies(QStringList{face} + formFontFamilies());
    return font;
}

std::function<int()> timeSeededRand() {
    std::srand(unsigned(std::time(nullptr)));
    return [] { return std::rand(); };
}

// A panel with a lowered outer and a raised inner bevel.
class BevelPanel : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        qDrawShadePanel(&painter, rect(), palette(), true, 1);
        qDrawShadePanel(&painter, rect().adjusted(1, 1, -1, -1), palette(), false, 1);
    }
};

void setTextColor(QLabel* label, const QColor& color) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent, std::function<int()> random)
    : QDialog(parent), eyes_(random ? std::move(random) : timeSeededRand()) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setWindowIcon(programIcon());
    setFont(formFont());
    setFixedSize(305, 183);
    createComponents();
    FormCreate();
}

void TAboutBox::createComponents() {
    Panel1 = new BevelPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 289, 137);

    auto label = [this](const char* name, const QString& text, int x, int y) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    Iface = label("Iface", QString(), 14, 14);
    Iface->setPixmap(QPixmap::fromImage(facepictures::face()));
    Iface->setFixedSize(64, 64);
    // The eye strip lies over the face, where the face's own eyes are painted.
    Ieye = label("Ieye", QString(), 14 + facepictures::kEyeOffset.x(),
                 14 + facepictures::kEyeOffset.y());
    Ieye->setFixedSize(facepictures::kEyeWidth, facepictures::kEyeHeight);

    ProductName = new QLabel(Panel1);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setFont(fontOf(QStringLiteral("ＤＦ中丸ゴシック体")));
    ProductName->setText(QStringLiteral("秘密 の そるばんち"));
    ProductName->move(104, 16);
    ProductName->adjustSize();
    Label3 = label("Label3", QStringLiteral("V1.00"), 212, 16);
    Comments = label("Comments", QStringLiteral("UpDate 2003.03.01"), 144, 44);
    // The licence in the free line under the date.
    Llicense = label("Llicense", QStringLiteral("MIT ライセンス"), 144, 64);
    Llicense->setToolTip(QStringLiteral("Copyright 2026 the Sorvanti developers"));
    Label1 = label("Label1", QStringLiteral("WebSite"), 16, 112);
    Label2 = label("Label2", QStringLiteral("E-Mail"), 88, 112);

    auto link = [this](const char* name, const QString& text, const QRect& place) {
        auto* l = new QLabel(text, Panel1);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(place);
        QFont font = l->font();
        font.setUnderline(true);
        l->setFont(font);
        setTextColor(l, kLinkColor);
        l->setAutoFillBackground(true);
        QPalette palette = l->palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Button));
        l->setPalette(palette);
        l->setCursor(Qt::PointingHandCursor);
        l->installEventFilter(this);
        return l;
    };
    Lweb = link("Lweb", kWebPage, QRect(16, 92, 261, 12));
    LeMail = link("LeMail", kMailAddress, QRect(128, 112, 150, 12));

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 152, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TAboutBox::Timer1Timer);
}

void TAboutBox::FormCreate() {
    for (int f = 0; f < int(eyePictures_.size()); ++f)
        eyePictures_[f] = QPixmap::fromImage(facepictures::eyes(f));
    showEyes(EyeAnimation::kAhead);
    Timer1->setInterval(EyeAnimation::kFirstInterval);
    Timer1->start();
}

void TAboutBox::FormClose() {
    Timer1->stop();
}

void TAboutBox::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TAboutBox::showEyes(int frame) {
    Ieye->setPixmap(eyePictures_[frame]);
}

void TAboutBox::Timer1Timer() {
    eyes_.tick();
    showEyes(eyes_.frame());
    // Setting the interval of a running timer starts its wait again, from this tick.
    Timer1->setInterval(eyes_.interval());
}

void TAboutBox::linkEntered(QLabel* link, int frame) {
    setTextColor(link, kHoveredLinkColor);
    Timer1->stop();
    eyes_.lookAt(frame);
    showEyes(frame);
}

void TAboutBox::linkLeft(QLabel* link) {
    setTextColor(link, kLinkColor);
    Timer1->start();
}

void TAboutBox::LwebMouseEnter() {
    linkEntered(Lweb, kWebFrame);
}

void TAboutBox::LwebMouseLeave() {
    linkLeft(Lweb);
}

void TAboutBox::LeMailMouseEnter() {
    linkEntered(LeMail, kMailFrame);
}

void TAboutBox::LeMailMouseLeave() {
    linkLeft(LeMail);
}

void TAboutBox::LwebClick() {
    DialogRunner::current().openUrl(QUrl(kWebPage));
}

void TAboutBox::LeMailClick() {
    // The display name and the angle brackets are percent-encoded by QUrl on the way out.
    DialogRunner::current().openUrl(QUrl(QStringLiteral("mailto:") + kDisplayName +
                                         QStringLiteral(" <") + kMailAddress +
                                         QStringLiteral(">?Subject=こんにちは！")));
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
    const bool web = watched == Lweb;
    if (!web && watched != LeMail)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        web ? LwebMouseEnter() : LeMailMouseEnter();
        break;
    case QEvent::Leave:
        web ? LwebMouseLeave() : LeMailMouseLeave();
        break;
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint()))
            web ? LwebClick() : LeMailClick();
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::keyPressEvent(QKeyEvent* event) {
    // Without a cancel button Escape closes nothing; Enter still presses OK.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    centreOnScreen(*this);
}

void showAboutBox(QWidget* owner) {
    TAboutBox box(owner);
    DialogRunner::current().execDialog(box);
}

} // namespace sorvanti

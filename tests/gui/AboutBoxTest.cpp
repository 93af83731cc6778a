// The about box: the eye rules over many driven ticks, the pictures, the links and the keys.
#include "DocumentWindow.h"
#include "about/EyeAnimation.h"
#include "about/FacePictures.h"
#include "about/TAboutBox.h"
#include "toolkit/ProgramIcon.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUrlQuery>

#include <deque>
#include <random>

namespace sorvanti::test {
namespace {

// The moves a tick may make between the nine gaze frames, as the design lists them.
const std::vector<std::vector<int>> kAllowed = {
    {0, 1, 3, 4},       {0, 1, 2, 3, 4, 5},          {1, 2, 4, 5},
    {0, 1, 3, 4, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 4, 5, 7, 8},
    {3, 4, 6, 7},       {3, 4, 5, 6, 7, 8},          {4, 5, 7, 8}};

bool allowed(int from, int to) {
    const auto& row = kAllowed[from];
    return std::find(row.begin(), row.end(), to) != row.end();
}

// A random source that plays back `draws` and then fails the test.
std::function<int()> scripted(std::deque<int>& draws) {
    return [&draws] {
        EXPECT_FALSE(draws.empty());
        if (draws.empty())
            return 0;
        const int d = draws.front();
        draws.pop_front();
        return d;
    };
}

TEST(EyeAnimation, ThousandsOfTicksKeepToTheGridTheBlinkAndTheIntervals) {
    std::mt19937 generator(20030301);
    EyeAnimation eyes([&] { return int(generator() % 32768); });
    ASSERT_EQ(std::pair(eyes.frame(), eyes.interval()), std::pair(4, 4000));
    std::array<int, 10> seen{};
    for (int i = 0; i < 20000; ++i) {
        const int from = eyes.frame();
        eyes.tick();
        const int to = eyes.frame();
        ++seen[to];
        if (to == 9) {
            ASSERT_EQ(from, 4);
            ASSERT_EQ(eyes.interval(), 100);
        } else if (from == 9) {
            ASSERT_EQ(to, 4);
            ASSERT_EQ(eyes.interval(), 200);
        } else {
            ASSERT_TRUE(allowed(from, to)) << from << " -> " << to;
            ASSERT_GE(eyes.interval(), 800);
            ASSERT_LE(eyes.interval(), 1199);
        }
    }
    for (int f = 0; f < 10; ++f)
        EXPECT_GT(seen[f], 100) << "frame " << f;
    for (int from = 0; from < 9; ++from)
        for (int to = 0; to < 9; ++to)
            EXPECT_EQ(EyeAnimation::mayMove(from, to), allowed(from, to)) << from << to;
}

TEST(EyeAnimation, EachDrawDecidesAsDesigned) {
    std::deque<int> draws;
    EyeAnimation eyes(scripted(draws));
    struct Step {
        std::deque<int> draws;
        int frame, interval;
    };
    const Step steps[] = {
        {{6}, 9, 100},             // even at straight ahead: blink
        {{}, 4, 200},              // open again, without a draw
        {{1, 3, 55}, 4, 855},      // odd, then a multiple of three: stay ahead
        {{1, 1, 2, 399}, 2, 1199}, // up and right
        // From 2, frames 8, 6 and 3 are not neighbours: drawn again until 1 comes.
        {{1, 8, 6, 3, 10, 0}, 1, 800},
    };
    for (const Step& s : steps) {
        draws = s.draws;
        eyes.tick();
        EXPECT_EQ(std::pair(eyes.frame(), eyes.interval()), std::pair(s.frame, s.interval));
        EXPECT_TRUE(draws.empty());
    }
}

TEST(FacePictures, EyePicturesFollowTheGridAndTheFaceWearsPictureFour) {
    for (int f = 0; f < 10; ++f) {
        const QImage eyes = facepictures::eyes(f);
        ASSERT_EQ(eyes.size(), QSize(26, 8));
        // Black pupils: 4 × 4 at (2 × column, 2 × row) and 18 further right; closed: 6 × 2.
        const QRect left = f == 9 ? QRect(1, 3, 6, 2) : QRect(2 * (f % 3), 2 * (f / 3), 4, 4);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 26; ++x) {
                const bool pupil = left.contains(x, y) || left.translated(18, 0).contains(x, y);
                ASSERT_EQ(eyes.pixelColor(x, y), pupil ? QColor(Qt::black) : QColor(Qt::red))
                    << f << " at " << x << "," << y;
            }
    }
    const QImage face = facepictures::face();
    EXPECT_EQ(face.size(), QSize(64, 64));
    EXPECT_EQ(face.copy(QRect(facepictures::kEyeOffset, QSize(26, 8))), facepictures::eyes(4));
}

class AboutBox : public ::testing::Test {
protected:
    void enter(QLabel* link) {
        QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QCoreApplication::sendEvent(link, &e);
    }
    void leave(QLabel* link) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(link, &e);
    }
    QImage shownEyes() const { return argb(box.Ieye->pixmap().toImage()); }
    static QImage argb(const QImage& image) { return image.convertToFormat(QImage::Format_ARGB32); }
    QColor color(QLabel* l) const { return l->palette().color(QPalette::WindowText); }

    ScriptedRunner runner;
    std::deque<int> draws;
    TAboutBox box{nullptr, scripted(draws)};
};

TEST_F(AboutBox, LayoutAndTexts) {
    EXPECT_EQ(box.windowTitle(), u("バージョン情報"));
    EXPECT_EQ(box.size(), QSize(305, 183));
    const std::pair<QWidget*, QRect> places[] = {
        {box.Panel1, {8, 8, 289, 137}},    {box.Iface, {14, 14, 64, 64}},
        {box.Ieye, {18, 52, 26, 8}},       {box.Lweb, {16, 92, 261, 12}},
        {box.LeMail, {128, 112, 150, 12}}, {box.OKButton, {111, 152, 75, 25}}};
    for (const auto& [widget, place] : places)
        EXPECT_EQ(widget->geometry(), place) << widget->objectName().toStdString();
    EXPECT_EQ(QStringList({box.ProductName->text(), box.Label3->text(), box.Comments->text()}),
              (QStringList{u("秘密 の そるばんち"), u("V1.00"), u("UpDate 2003.03.01")}));
    EXPECT_TRUE(box.Lweb->font().underline());
}

TEST_F(AboutBox, LinksTurnMaroonStopTheEyesAndOpenTheirAddresses) {
    // Opened: straight ahead, the first tick due in four seconds; it closes the eyes.
    EXPECT_EQ(shownEyes(), argb(facepictures::eyes(4)));
    EXPECT_EQ(std::pair(box.Timer1->isActive(), box.Timer1->interval()), std::pair(true, 4000));
    draws = {2};
    box.Timer1Timer();
    EXPECT_EQ(shownEyes(), argb(facepictures::eyes(9)));
    for (auto [link, frame] : {std::pair(box.Lweb, 7), std::pair(box.LeMail, 8)}) {
        enter(link);
        EXPECT_EQ(color(link), QColor(128, 0, 0));
        EXPECT_FALSE(box.Timer1->isActive());
        EXPECT_EQ(shownEyes(), argb(facepictures::eyes(frame)));
        leave(link);
        EXPECT_EQ(color(link), QColor(0, 0, 255));
        EXPECT_TRUE(box.Timer1->isActive());
        EXPECT_EQ(box.Timer1->interval(), 100);
    }
    // Straight from one link to the other: the eyes stay on the second, the timer off.
    enter(box.Lweb);
    leave(box.Lweb);
    enter(box.LeMail);
    EXPECT_FALSE(box.Timer1->isActive());
    EXPECT_EQ(box.eyeFrame(), 8);
    // The next tick moves on from there by the grid.
    leave(box.LeMail);
    draws = {1, 5, 7};
    box.Timer1Timer();
    EXPECT_EQ(box.eyeFrame(), 5);

    QTest::mouseClick(box.Lweb, Qt::LeftButton);
    QTest::mouseClick(box.LeMail, Qt::LeftButton);
    ASSERT_EQ(runner.openedUrls.size(), 2u);
    EXPECT_EQ(runner.openedUrls[0], QUrl(TAboutBox::kWebPage));
    const QUrl mail = runner.openedUrls[1];
    EXPECT_EQ(mail.scheme(), u("mailto"));
    EXPECT_EQ(mail.path(), TAboutBox::kDisplayName + u(" <") + TAboutBox::kMailAddress + u(">"));
    EXPECT_EQ(QUrlQuery(mail).queryItemValue(u("Subject"), QUrl::FullyDecoded), u("こんにちは！"));
    EXPECT_TRUE(runner.boxes.empty());
}

TEST_F(AboutBox, ShownTheEyesSitOnTheFaceEscapeLeavesItOpenAndEnterClosesIt) {
    box.show();
    const QPoint pupil = box.Panel1->pos() + box.Ieye->pos() + QPoint(3, 3); // of frame 4
    EXPECT_EQ(box.grab().toImage().pixelColor(pupil), QColor(Qt::black));
    enter(box.Lweb); // frame 7: the pupils two pixels lower
    const QImage shot = box.grab().toImage();
    EXPECT_EQ(shot.pixelColor(pupil + QPoint(0, -2)), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(pupil + QPoint(0, 2)), QColor(Qt::black));
    if (const QString folder = qEnvironmentVariable("SORVANTI_SCREENSHOT_DIR"); !folder.isEmpty())
        shot.save(folder + u("/about.png"));

    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
    EXPECT_FALSE(box.Timer1->isActive());
}

TEST(AboutCommand, TheHelpMenuShowsTheBoxModally) {
    ScriptedRunner runner;
    auto w = ProgramFolder().openWindow();
    runner.dialogAnswers = {[](QDialog& d) {
        EXPECT_NE(dynamic_cast<TAboutBox*>(&d), nullptr);
        return int(QDialog::Accepted);
    }};
    w->About1Click(w->About1);
    EXPECT_EQ(runner.dialogNames, std::vector<QString>{u("AboutBox")});
}

// The SVG icon draws (Qt's SVG plug-ins are there) for the windows and the about box: the
// blue of its rounded square, near the top.
TEST(ProgramIcon, DrawsForTheWindowsAndTheAboutBox) {
    TAboutBox box(nullptr, [] { return 1; });
    for (const QIcon& icon : {programIcon(), box.windowIcon()}) {
        const QImage image = icon.pixmap(64).toImage();
        ASSERT_EQ(image.size(), QSize(64, 64));
        EXPECT_EQ(image.pixelColor(32, 6), QColor(0xa6, 0xca, 0xf0));
    }
    EXPECT_TRUE(QApplication::windowIcon().isNull()); // so the box's icon is its own
}

} // namespace
} // namespace sorvanti::test

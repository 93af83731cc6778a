#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("秘密 の そるばんち"));
    w.resize(441, 330);
    w.show();
    return app.exec();
}

// verdax_screen_grab FILE.png: saves the whole screen of the X display in $DISPLAY,
// for looking at the editor as it runs under Xvfb.

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: verdax_screen_grab FILE.png\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen || !screen->grabWindow(0).save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "verdax_screen_grab: cannot grab the screen into %s\n", argv[1]);
        return 1;
    }
    return 0;
}

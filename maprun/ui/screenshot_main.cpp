// Writes a PNG of the test window running the given map, for review:
//   maprun_screenshot MAP ASSETS_DIR OUT.png [FRAMES] [--hires]
#include "maprun/fullscreen/vantorsupport.h"
#include "maprun/ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QTest>

#include <cstdio>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr,
                     "usage: maprun_screenshot MAP ASSETS_DIR OUT.png [FRAMES] [--hires]\n");
        return 1;
    }
    maprun::TVantorFullscreen hardware; // the labels show the emulated display
    QString error;
    maprun::TForm1 form(
        argv[1], hardware, [&](const QString& m) { error = m; }, argv[2]);
    if (!error.isEmpty()) std::fprintf(stderr, "maprun_screenshot: %s\n", qPrintable(error));
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        std::fprintf(stderr, "maprun_screenshot: window not shown\n");
    if (args.contains("--hires")) form.findChild<QCheckBox*>("CheckBox1")->click();
    int frames = args.size() > 4 ? args[4].toInt() : 100;
    for (int i = 0; i < frames; ++i)
        form.MMTimer1Timer(1);
    if (!form.grab().save(args[3])) {
        std::fprintf(stderr, "maprun_screenshot: cannot write %s\n", qPrintable(args[3]));
        return 1;
    }
    return 0;
}

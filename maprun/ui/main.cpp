// maprun: shows a map in a small test window and runs it on a 14 ms timer.
#include "formats/replacefile.h"
#include "maprun/fullscreen/vantorsupport.h"
#include "maprun/ui/arguments.h"
#include "maprun/ui/emulatedmonitor.h"
#include "maprun/ui/form1.h"
#include "vantor32qt/qtbackend.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    formats::IgnoreFileSizeSignal(); // a file-size limit fails a write, not the program
    QApplication app(argc, argv);    // takes Qt's own options out of argv
    app.setApplicationName("maprun");
    // Maps the VGA window, detects the display and registers its clean-up.
    maprun::TVantorFullscreen hardware;
    auto errorBox = [](const QString& caption, const QString& text) {
        QMessageBox::critical(nullptr, caption, text);
    };
    const std::optional<std::string> map = maprun::MapArgument(argc, argv, errorBox);
    if (!map) return 0;

    // The fullscreen window is a Qt window showing the emulated monitor.
    vantor32qt::QtBackend screen;
    screen.SetScreenSource(maprun::EmulatedMonitor());
    maprun::TForm1 form(*map, hardware,
                        [&](const QString& message) { errorBox("maprun", message); });
    form.show();
    return app.exec();
}

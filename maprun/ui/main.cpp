// maprun: shows a map in a small test window and runs it on a 14 ms timer.
#include "maprun/ui/arguments.h"
#include "maprun/ui/form1.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName("maprun");
    auto errorBox = [](const QString& caption, const QString& text) {
        QMessageBox::critical(nullptr, caption, text);
    };
    if (!maprun::CheckArguments(app.arguments(), errorBox)) return 0;

    maprun::NoVbeHardware hardware;
    maprun::TForm1 form(app.arguments()[1], hardware,
                        [&](const QString& message) { errorBox("maprun", message); });
    form.show();
    return app.exec();
}

// mapedit [MAPFILE]: the map editor. A map named on the command line is opened
// as "&Open..." would open it.
#include "mapedit/ui/medit.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("mapedit");

    mapedit::ui::TMedit window;
    window.showMaximized();

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::string name =
            QFile::encodeName(QFileInfo(arguments.at(1)).absoluteFilePath()).toStdString();
        window.Commands().Guarded([&] { window.Commands().OpenMap(name); });
    }
    return QApplication::exec();
}

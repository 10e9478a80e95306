// mapedit [MAPFILE]: the map editor. A map named on the command line is opened
// as "&Open..." would open it.
#include "formats/replacefile.h"
#include "mapedit/ui/commandline.h"
#include "mapedit/ui/medit.h"

#include <QApplication>

int main(int argc, char** argv) {
    formats::IgnoreFileSizeSignal(); // a file-size limit fails the save, not the editor
    QApplication app(argc, argv);    // takes Qt's own options out of argv
    QApplication::setApplicationName("mapedit");

    mapedit::ui::TMedit window;
    window.showMaximized();

    const std::string name = mapedit::ui::CommandLineMap(argc, argv);
    if (!name.empty()) window.Commands().Guarded([&] { window.Commands().OpenMap(name); });
    return QApplication::exec();
}

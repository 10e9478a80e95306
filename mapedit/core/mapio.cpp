// Reading a map file into the document and writing the document out, through
// the shared map reader and writer.
#include "mapedit/core/mapio.h"

#include "formats/dospath.h"
#include "formats/errors.h"
#include "formats/mapfile.h"
#include "formats/text.h"
#include "mapedit/core/editor.h"
#include "mapedit/core/errors.h"

namespace mapedit {

namespace fs = std::filesystem;

namespace {

constexpr uint8_t kLoadedLayerFlags = 0x3D;
constexpr uint8_t kAt32LayerFlags = 0x30;
const char* const kNoTileSet = "Map file did not have a valid TileSet filename";

fs::path FullPath(const fs::path& p) {
    std::error_code ec;
    fs::path full = fs::weakly_canonical(fs::absolute(p, ec), ec);
    return ec ? fs::absolute(p).lexically_normal() : full;
}

class DocumentSink : public formats::MapSink {
public:
    DocumentSink(TEditor& editor, ProgressBox& box, const fs::path& mapFile)
        : Editor(editor), Doc(editor.Doc), Box(box), MapFile(mapFile) {}

    // The layer flags of a loaded map replace the old ones once the file has
    // shown itself to be a map, that is, at its first chunk.
    void MarkLoaded() {
        if (Loaded) return;
        Loaded = true;
        Doc.LayerFlags = kLoadedLayerFlags;
    }

    void Progress(const char* text) override {
        MarkLoaded();
        Box.SetText(ProgressLine::CurrentString, text);
    }

    // The planes take a header's size when the reader makes its cells.
    void SetSize(int width, int height) override {
        MarkLoaded();
        HeaderSize = {width, height};
        SizeTaken = false;
    }

    void MakeCells(int width, int height) override {
        try {
            Doc.SetEmptyMap(width, height);
        } catch (const EMapSize& e) {
            throw formats::EmapLoad(e.what());
        }
        SizeTaken = true;
        Editor.Ui.MapSizeChanged(Doc.W(), Doc.H());
    }

    // After a failed read the document still takes the last header's size,
    // when it can hold it.
    void KeepHeaderSize() {
        if (!HeaderSize || SizeTaken) return;
        try {
            MakeCells(HeaderSize->first, HeaderSize->second);
        } catch (const formats::FormatError&) {
        }
    }

    void SetRow(int y, const formats::MapCell* cells, int width, bool hasMiddle) override {
        if (y < 0 || y >= Doc.H() || width != Doc.W())
            throw formats::EmapLoad("Body is wrong size");
        for (int x = 0; x < width; ++x) {
            const formats::MapCell& c = cells[x];
            Doc.SetCell(0, x, y, c.back);
            if (hasMiddle) Doc.SetCell(1, x, y, c.middle);
            Doc.SetCell(2, x, y, c.fore);
            Doc.SetCell(3, x, y, c.collision);
            Doc.SetCell(kAttributeLayer, x, y, c.attributes);
            Doc.SetCell(kArgumentLayer, x, y, c.arguments);
        }
    }

    void BeginAttributes() override {
        MarkLoaded();
        Doc.LayerFlags |= kAt32LayerFlags;
    }

    void SetAttributes(int x, int y, uint16_t attributes, uint16_t arguments) override {
        if (!Doc.InMap(x, y)) return;
        Doc.SetCell(kAttributeLayer, x, y, attributes);
        Doc.SetCell(kArgumentLayer, x, y, arguments);
    }

    // Each name that names no file is reported; the last one that does is
    // loaded once the chunks are read (LoadTileSet).
    void TileSetName(const std::string& name) override {
        MarkLoaded();
        std::optional<fs::path> found = ResolveTileSetName(name, MapFile);
        if (!found) {
            Editor.Ui.ShowMessage(MessageKind::Warning, kNoTileSet, MessageButtons::Ignore);
            return;
        }
        TileSet = std::move(found);
    }

    void LoadTileSet() {
        if (!TileSet) return;
        // A damaged tile set is reported like a missing one: the map itself still loads.
        try {
            formats::WithFileName(*TileSet, [&] { Editor.Tiles.LoadTileSet(TileSet->string()); });
        } catch (const formats::FormatError& e) {
            Editor.Ui.ShowMessage(MessageKind::Warning, formats::ErrorMessage(e),
                                  MessageButtons::Ignore);
        }
    }

    void RowDone(int) override { Editor.Ui.ProcessPendingEvents(); }

private:
    TEditor& Editor;
    TMapDocument& Doc;
    ProgressBox& Box;
    fs::path MapFile;
    bool Loaded = false;
    std::optional<std::pair<int, int>> HeaderSize;
    bool SizeTaken = false;
    std::optional<fs::path> TileSet;
};

class DocumentSource : public formats::MapSource {
public:
    DocumentSource(const TEditor& editor, std::string tileSetName)
        : Editor(editor), Doc(editor.Doc), Name(std::move(tileSetName)) {}

    int Width() const override { return Doc.W(); }
    int Height() const override { return Doc.H(); }
    std::string TileSetName() const override { return Name; }

    void GetRow(int y, formats::MapCell* cells) const override {
        for (int x = 0; x < Doc.W(); ++x)
            cells[x] = formats::MapCell{Doc.Cell(0, x, y),
                                        Doc.Cell(1, x, y),
                                        Doc.Cell(2, x, y),
                                        Doc.Cell(3, x, y),
                                        Doc.Cell(kAttributeLayer, x, y),
                                        Doc.Cell(kArgumentLayer, x, y)};
    }

    void RowDone(int) const override { Editor.Ui.ProcessPendingEvents(); }

private:
    const TEditor& Editor;
    const TMapDocument& Doc;
    std::string Name;
};

} // namespace

std::string RecordedTileSetName(const fs::path& tileSetFile, const fs::path& mapFile) {
    if (tileSetFile.empty()) return {};
    const fs::path tileSet = FullPath(tileSetFile);
    const fs::path relative = tileSet.lexically_relative(FullPath(mapFile).parent_path());
    if (relative.empty() || *relative.begin() == ".." || relative == ".") return tileSet.string();
    std::string recorded;
    for (const fs::path& part : relative) {
        if (!recorded.empty()) recorded += '\\';
        recorded += part.string();
    }
    return recorded;
}

std::optional<fs::path> ResolveTileSetName(const std::string& recorded, const fs::path& mapFile) {
    if (recorded.empty()) return std::nullopt;
    std::error_code ec;
    const fs::path places[] = {FullPath(mapFile).parent_path(), fs::current_path(ec),
                               fs::path(formats::ProgramDir())};
    for (const fs::path& dir : places) {
        if (dir.empty()) continue;
        if (auto found = formats::ResolveDosName(dir, recorded))
            if (fs::is_regular_file(*found, ec)) return found;
    }
    return std::nullopt;
}

void TEditor::MapFromStream(formats::Stream& stream, const fs::path& mapFile) {
    std::unique_ptr<ProgressBox> box = Ui.OpenProgress("Loading Map");
    DocumentSink sink(*this, *box, mapFile);
    try {
        formats::ReadMap(stream, sink, formats::MapReader::Editor);
    } catch (...) {
        // What was read stays: the last header's size and the tile set named
        // before the failure. The read's own error is the one reported.
        sink.KeepHeaderSize();
        try {
            sink.LoadTileSet();
        } catch (...) {
        }
        throw;
    }
    sink.LoadTileSet();
    sink.MarkLoaded();
    box.reset();
    Ui.RealizeEditorPalette();
}

void TEditor::OpenMapFile(const std::string& name) {
    formats::WithFileName(name, [&] {
        formats::FileStream stream{fs::path(name)};
        MapFromStream(stream, fs::path(name));
    });
    SetDocName(name);
    Doc.Modified = false;
}

void TEditor::WriteMap(const std::string& name) {
    const DocumentSource source(*this, RecordedTileSetName(Tiles.FileName, name));
    formats::WriteMap(fs::path(name), source);
}

} // namespace mapedit

#pragma once
// A recording EditorUi and small fixtures for the editor core's tests.
#include "formats/pbm.h"
#include "mapedit/core/attributes.h"
#include "mapedit/core/editorui.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace mapedit::testing {

struct Message {
    MessageKind kind;
    std::string text;
    MessageButtons buttons;
};

class FakeUi : public EditorUi {
public:
    std::vector<CellPos> redrawn;
    std::vector<CellPos> paletteRedrawn;
    std::function<void(int32_t, int32_t)> onRedraw;
    int repaints = 0;
    int realized = 0;
    int pendingEventRuns = 0;
    bool undoEnabled = false;
    bool redoEnabled = false;
    std::string caption;
    std::map<StatusPanel, std::string> status;
    std::vector<CellRect> outlines;
    std::vector<LayerButton> pressedButtons;
    std::vector<std::string> shownAttributes;
    std::vector<int32_t> shownArguments;
    std::vector<Message> messages;
    // Every progress box opened: its caption, then "line=text" entries.
    std::vector<std::vector<std::string>> progress;
    int openBoxes = 0;
    std::vector<std::pair<int32_t, int32_t>> sizes;

    void RedrawCell(int32_t x, int32_t y) override {
        redrawn.push_back({x, y});
        if (onRedraw) onRedraw(x, y);
    }
    void RedrawPaletteCell(int32_t c, int32_t r) override { paletteRedrawn.push_back({c, r}); }
    void RepaintMap() override { ++repaints; }
    void RealizeEditorPalette() override { ++realized; }
    void MapSizeChanged(int32_t w, int32_t h) override { sizes.emplace_back(w, h); }
    void SetCaption(const std::string& c) override { caption = c; }
    void SetUndoEnabled(bool e) override { undoEnabled = e; }
    void SetRedoEnabled(bool e) override { redoEnabled = e; }
    void SetStatusText(StatusPanel p, const std::string& t) override { status[p] = t; }
    void DrawStampOutline(const CellRect& r, uint32_t) override { outlines.push_back(r); }
    void PressLayerButton(LayerButton b) override { pressedButtons.push_back(b); }
    void ShowAttribute(const TAttrInfo& a) override { shownAttributes.push_back(a.Name); }
    void ShowArgument(int32_t v) override { shownArguments.push_back(v); }
    MessageResult ShowMessage(MessageKind k, const std::string& t, MessageButtons b) override {
        messages.push_back({k, t, b});
        return EditorUi::ShowMessage(k, t, b);
    }
    void ProcessPendingEvents() override { ++pendingEventRuns; }

    class Box : public ProgressBox {
    public:
        Box(FakeUi& ui, size_t index) : ui_(ui), index_(index) { ++ui_.openBoxes; }
        ~Box() override { --ui_.openBoxes; }
        void SetText(ProgressLine line, const std::string& text) override {
            ui_.progress[index_].push_back(LineName(line) + "=" + text);
        }

    private:
        static std::string LineName(ProgressLine l) {
            switch (l) {
            case ProgressLine::Label1:
                return "Label1";
            case ProgressLine::Label2:
                return "Label2";
            case ProgressLine::Label3:
                return "Label3";
            case ProgressLine::Label4:
                return "Label4";
            case ProgressLine::Label5:
                return "Label5";
            case ProgressLine::CurrentString:
                return "CurrentString";
            }
            return "?";
        }
        FakeUi& ui_;
        size_t index_;
    };
    std::unique_ptr<ProgressBox> OpenProgress(const std::string& whatDoing) override {
        progress.push_back({whatDoing});
        return std::make_unique<Box>(*this, progress.size() - 1);
    }

    bool HasMessage(const std::string& text) const {
        for (const Message& m : messages)
            if (m.text == text) return true;
        return false;
    }
};

// A fresh directory under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mapedit-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Writes a PBM picture whose pixel (x, y) is pixel(x, y); colour i of its
// CMAP is (i, 255 - i, i / 2).
inline void WritePicture(const std::filesystem::path& file, int w, int h,
                         const std::function<uint8_t(int, int)>& pixel) {
    std::vector<uint8_t> pixels(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels[size_t(y) * w + x] = pixel(x, y);
    uint8_t rgb[768];
    for (int i = 0; i < 256; ++i) {
        rgb[3 * i] = uint8_t(i);
        rgb[3 * i + 1] = uint8_t(255 - i);
        rgb[3 * i + 2] = uint8_t(i / 2);
    }
    formats::WritePbmFile(file, w, h, pixels.data(), rgb, 256, true);
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
    FILE* f = std::fopen(file.c_str(), "wb");
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

} // namespace mapedit::testing

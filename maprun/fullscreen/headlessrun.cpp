#include "maprun/fullscreen/headlessrun.h"

#include "maprun/fullscreen/headlesskeys.h"

#include "pcemu/machine.h"

#include <map>

namespace maprun {

namespace {

// Passes the user stays away after switching to another application.
constexpr int kPassesAway = 2;

// A control object that notes what each frame did to the display.
class TRecordingControlObject : public TVantorControlObject {
public:
    // `acted` is set whenever the loop shows a frame or takes an event.
    TRecordingControlObject(TTimeSource clock, THeadlessRun& run, bool& acted)
        : TVantorControlObject(std::move(clock)), run_(run), acted_(acted) {}

    void ShowFrame() override {
        TVantorControlObject::ShowFrame();
        pcemu::Adapter& adapter = pcemu::TheMachine().adapter();
        TFrameRecord record;
        record.Banks = std::move(banks_);
        banks_.clear();
        // The page whose first byte the display starts at (-1: none of them).
        const uint32_t start = adapter.displayMode().start;
        record.VisiblePage = Game()->HiRes() ? -1 : (start == 0 ? 0 : -1);
        for (const auto& [page, pageStart] : pageStarts_)
            if (pageStart == start) record.VisiblePage = page;
        record.ActivePage = Page();
        const int32_t tickCount = Game()->TickCount();
        record.Ticks = run_.Frames.empty() ? 0 : tickCount - lastTickCount_;
        lastTickCount_ = tickCount;
        adapter.scanout(record.Scanout);
        run_.Frames.push_back(std::move(record));
        acted_ = true;
    }

protected:
    void CopyBank(int32_t bank, uint32_t offset, const uint8_t* source, size_t bytes) override {
        TVantorControlObject::CopyBank(bank, offset, source, bytes);
        const int32_t shown = pcemu::TheMachine().adapter().writeBank();
        if (banks_.empty()) pageStarts_[Page()] = uint32_t(shown) * kBankSize + offset;
        banks_.push_back(shown);
    }
    void EventTaken(const VTEventRecord& event) override {
        run_.Events.push_back(event);
        acted_ = true;
    }

private:
    THeadlessRun& run_;
    bool& acted_;
    std::vector<int32_t> banks_;
    std::map<int32_t, uint32_t> pageStarts_; // where each page's frames went in video memory
    int32_t lastTickCount_ = 0;
};

// Installs a window system for as long as it lives.
class TInstalledPlatform {
public:
    explicit TInstalledPlatform(const vantor32::Platform& platform) {
        vantor32::InstallPlatform(&platform);
    }
    ~TInstalledPlatform() { vantor32::InstallPlatform(nullptr); }
    TInstalledPlatform(const TInstalledPlatform&) = delete;
    TInstalledPlatform& operator=(const TInstalledPlatform&) = delete;
};

} // namespace

THeadlessRun RunHeadless(Tgame& game, const THeadlessScript& script) {
    THeadlessRun run;
    vantor32::FakePlatform fake;
    bool acted = false;
    TRecordingControlObject control([&fake] { return fake.Now(); }, run, acted);

    size_t nextKey = 0;
    int passesAfterKeys = 0;
    int passesAway = 0;
    fake.onPump = [&](vantor32::FakePlatform& f) {
        f.AdvanceTime(script.MillisecondsPerPass);
        const VTWindow screen = f.FocusWindow();
        const int shown = static_cast<int>(run.Frames.size());
        // One key per poll of the loop (the loop acted since the last pump),
        // so that none is taken by the waits of a switch or a takeover.
        if (acted && nextKey < script.Keys.size() && shown >= script.Frames && screen) {
            const vantor32::DesktopSize desktop = f.Ops().desktopSize(f.Ops().context);
            for (vantor32::Message message :
                 KeyMessages(script.Keys[nextKey++], desktop.width, desktop.height)) {
                message.window = screen;
                message.time = f.Now();
                f.Post(message);
            }
        }
        acted = false;
        if (const auto* state = screen ? f.State(screen) : nullptr; state && state->minimized) {
            if (++passesAway > kPassesAway) {
                passesAway = 0;
                f.UserActivates(screen);
            }
        }
        if (nextKey == script.Keys.size() && shown >= script.Frames &&
            ++passesAfterKeys > script.PassLimit && !game.Windowed()) {
            run.Stopped = true;
            game.SetWindowed(true);
        }
        if (script.OnPump) script.OnPump(f, shown);
    };

    TInstalledPlatform installed(fake.Ops());
    game.SetWindowed(false);
    try {
        run.End = control.Run(game);
        run.Mode = control.Mode();
    } catch (...) {
        game.SetWindowed(true);
        throw;
    }
    game.SetWindowed(true);
    return run;
}

} // namespace maprun

#pragma once
// The running game: a frame buffer that the front ends show, advanced by timer
// ticks and drawn once per frame. TZorvGame walks a view over a map and draws
// its three tile layers with a test sprite between the second and the third.
#include "maprun/core/framebuffer.h"
#include "maprun/core/map.h"
#include "maprun/core/sprite.h"
#include "maprun/core/viewmotion.h"

#include <filesystem>
#include <memory>
#include <string_view>

namespace maprun {

// Input of the game; nothing reads it yet.
class TInputDevice {};

class Tgame {
public:
    // 640 x 400 with hiRes, else 320 x 200.
    explicit Tgame(bool hiRes);
    virtual ~Tgame() = default;
    Tgame(const Tgame&) = delete;
    Tgame& operator=(const Tgame&) = delete;

    // Re-creates the frame buffer's pixels at the new size, also when the
    // value is unchanged.
    virtual void SetHiRes(bool value);
    virtual void Advance(int ticks);
    // Sets the frame buffer's orientation from Windowed; overrides call it first.
    virtual void Draw();

    bool HiRes() const { return FHiRes; }
    int32_t TickCount() const { return FTickCount; }
    // Shown through the window (rows bottom-up) or copied to video memory
    // (top-down); the fullscreen loop also leaves when it becomes true.
    bool Windowed() const { return FWindowed; }
    void SetWindowed(bool value) { FWindowed = value; }
    TFrameBuffer& FrameBuffer() { return *FFrameBuffer; }
    const TFrameBuffer& FrameBuffer() const { return *FFrameBuffer; }
    TInputDevice& InputDevice() { return *FInputDevice; }

private:
    bool FHiRes;
    int32_t FTickCount = 0;
    std::unique_ptr<TInputDevice> FInputDevice;
    bool FWindowed = false;
    std::unique_ptr<TFrameBuffer> FFrameBuffer;
};

class TZorvGame : public Tgame {
public:
    static constexpr const char* kTestPicture = "testpbm.lbm";
    static constexpr const char* kTestSprite = "smile.bbm";

    // Streams the test picture into the frame buffer and takes its colours,
    // loads the test sprite (both from `assetsDir`, the current directory when
    // empty) and, when `mapArgument` is not empty, the map it names with its
    // tile set. Errors of any of these files leave the constructor.
    TZorvGame(bool hiRes, std::string_view mapArgument,
              const std::filesystem::path& assetsDir = {});

    void Advance(int ticks) override;
    void Draw() override;

    const TPoint& ViewPos() const { return FMotion.Pos; }
    void SetViewPos(const TPoint& pos) { FMotion.Pos = pos; }
    bool MovingUp() const { return FMotion.MovingUp; }
    bool MovingLeft() const { return FMotion.MovingLeft; }
    const uint8_t* Sprite() const { return FSprite.get(); }
    TMap& Map() { return FMap; }
    const TMap& Map() const { return FMap; }

    // Where the test sprite is drawn: it drops one pixel per tick from -50
    // and starts again every 512 ticks.
    static constexpr int kSpriteX = 50;
    int SpriteY() const { return (TickCount() & 511) - 50; }

private:
    SpriteRecord FSprite;
    TViewMotion FMotion;
    TMap FMap;
};

} // namespace maprun

#pragma once
// A fresh scripted window system per test, a 640 x 480 desktop, and helpers
// that make the messages a user's keys and mouse would.
#include "vantor32/fakeplatform.h"
#include "vantor32/vantor32.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantor32::testing {

class FakeFixture : public ::testing::Test {
protected:
    void SetUp() override {
        fake.SetDesktopSize(640, 480);
        fake.pumpLimit = 100000;
        InstallPlatform(&fake.Ops());
        VT_setSuspendAppCallback(nullptr);
        VT_setMouseCallback(nullptr);
    }
    void TearDown() override {
        if (VT_inFullScreen()) VT_restoreGDI();
        VT_setSuspendAppCallback(nullptr);
        VT_setMouseCallback(nullptr);
        VT_flushEvent(VT_EV_ALL);
        InstallPlatform(nullptr);
    }

    Message Key(MessageKind kind, std::uint8_t scan, std::uint32_t character = 0) const {
        Message m;
        m.window = window;
        m.kind = kind;
        m.scanCode = scan;
        m.character = character;
        m.alt = kind == MessageKind::SysKeyDown || kind == MessageKind::SysKeyUp;
        m.time = fake.Now();
        return m;
    }
    Message Mouse(MessageKind kind, int x, int y, std::uint32_t keys = 0) const {
        Message m;
        m.window = window;
        m.kind = kind;
        m.x = x;
        m.y = y;
        m.keys = keys;
        m.time = fake.Now();
        return m;
    }
    Message Activation(bool active) const {
        Message m;
        m.window = window;
        m.kind = active ? MessageKind::Activate : MessageKind::Deactivate;
        return m;
    }
    // Takes every queued event.
    std::vector<VTEventRecord> Drain(std::uint32_t mask = VT_EV_ALL) {
        std::vector<VTEventRecord> events;
        VTEventRecord event;
        while (VT_getEvent(&event, mask))
            events.push_back(event);
        return events;
    }
    bool DesktopOutputOn() const { return CompanionDesktopOutputOn(); }

    FakePlatform fake;
    VTWindow window = nullptr; // the fullscreen window once a test takes the screen
};

} // namespace vantor32::testing

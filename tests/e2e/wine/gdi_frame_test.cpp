// Runs under Wine: composes model states through the GDI surface and through
// the software surface (in its own DLL) and compares the pixels; counts the
// process's GDI objects around many frames.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <vector>

#include "model_scenarios.h"
#include "render/frame.h"
#include "render/layout.h"
#include "shell/win32/gdi_surface.h"
#include "software_frame_library.h"

namespace {

// A window-sized 32-bit image in memory with a device context, standing in
// for the window's context: RenderFrame makes its off-screen image compatible
// with it and copies the frame into it.
class MemoryTarget {
public:
    MemoryTarget() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = ClientWidth;
        info.bmiHeader.biHeight = -ClientHeight;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryTarget() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    MemoryTarget(const MemoryTarget&) = delete;
    MemoryTarget& operator=(const MemoryTarget&) = delete;

    HDC dc() const { return dc_; }
    // 0x00BBGGRR, as the software surface stores them.
    std::vector<uint32_t> Pixels() const {
        GdiFlush();
        std::vector<uint32_t> pixels(ClientWidth * ClientHeight);
        for (size_t i = 0; i < pixels.size(); ++i) {
            const uint32_t bgr = bits_[i];  // bytes B, G, R, 0
            pixels[i] = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
        }
        return pixels;
    }
    void Fill(uint32_t colour) {
        for (int i = 0; i < ClientWidth * ClientHeight; ++i) {
            bits_[i] = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
        }
    }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};

std::vector<uint32_t> RenderWithGdi(ModelScenario scenario) {
    MemoryTarget target;
    target.Fill(0x123456);  // anything RenderFrame leaves unpainted shows up
    BuildModelScenario(scenario);
    Surface surface = WindowSurface(target.dc());
    RenderFrame(&surface);
    ReleaseModel();
    return target.Pixels();
}

std::vector<uint32_t> RenderWithSoftware(ModelScenario scenario) {
    std::vector<uint32_t> pixels(ClientWidth * ClientHeight, 0x123456);
    RenderScenarioWithSoftwareSurface(static_cast<int>(scenario), pixels.data());
    return pixels;
}

// Counts the pixels that differ and reports the first few.
::testing::AssertionResult SameFrame(const std::vector<uint32_t>& gdi, const std::vector<uint32_t>& software) {
    int differing = 0;
    std::string firstOnes;
    for (size_t i = 0; i < gdi.size(); ++i) {
        if (gdi[i] == software[i]) continue;
        if (++differing <= 5) {
            char line[96];
            snprintf(line, sizeof line, " (%d,%d) gdi %06X software %06X;", static_cast<int>(i % ClientWidth),
                     static_cast<int>(i / ClientWidth), gdi[i], software[i]);
            firstOnes += line;
        }
    }
    if (differing == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << differing << " pixels differ:" << firstOnes;
}

void ExpectSurfacesAgree(ModelScenario scenario) {
    EXPECT_TRUE(SameFrame(RenderWithGdi(scenario), RenderWithSoftware(scenario)));
}

// GetGuiResources is a stub under Wine, so the handle table is probed: every
// GDI object answers GetObjectType through its table index alone.
int CountGdiObjects() {
    int count = 0;
    for (uintptr_t index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
    }
    return count;
}

}  // namespace

TEST(SurfacesAgree, IdleFrame) { ExpectSurfacesAgree(ModelScenario::Idle); }

TEST(SurfacesAgree, MidGameWithLockedBlocksOfEveryKind) { ExpectSurfacesAgree(ModelScenario::MidGame); }

TEST(SurfacesAgree, GameOverWithThePieceOverTheBlocks) { ExpectSurfacesAgree(ModelScenario::GameOver); }

TEST(SurfacesAgree, BlinkPhaseWithFullRowsSunken) { ExpectSurfacesAgree(ModelScenario::BlinkSunken); }

TEST(SurfacesAgree, BlinkPhaseWithFullRowsRaised) { ExpectSurfacesAgree(ModelScenario::BlinkRaised); }

TEST(SurfacesAgree, SixDigitScoreAndOverflowingCounts) { ExpectSurfacesAgree(ModelScenario::SixDigitScore); }

TEST(SurfacesAgree, BlinkPhasesLookDifferent) {
    EXPECT_FALSE(SameFrame(RenderWithGdi(ModelScenario::BlinkSunken), RenderWithGdi(ModelScenario::BlinkRaised)));
}

TEST(GdiObjects, CountSeesObjectsComeAndGo) {
    const int before = CountGdiObjects();
    HBRUSH brushes[10];
    for (HBRUSH& brush : brushes) brush = CreateSolidBrush(0x00FF00);
    EXPECT_EQ(CountGdiObjects(), before + 10);
    for (HBRUSH brush : brushes) DeleteObject(brush);
    EXPECT_EQ(CountGdiObjects(), before);
}

TEST(GdiObjects, TenThousandFramesLeaveTheCountUnchanged) {
    MemoryTarget target;
    BuildModelScenario(ModelScenario::MidGame);
    Surface surface = WindowSurface(target.dc());
    RenderFrame(&surface);
    const int before = CountGdiObjects();
    for (int frame = 0; frame < 10000; ++frame) RenderFrame(&surface);
    const int after = CountGdiObjects();
    ReleaseModel();
    EXPECT_GE(before, 64);  // at least the 64 brushes of the scenario's Blocks
    EXPECT_EQ(after, before);
}

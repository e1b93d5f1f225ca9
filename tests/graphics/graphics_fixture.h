#pragma once
// A test fixture that runs each test in its own working folder with the graphics layer down,
// our devices at their defaults and the error-check log written to "ec.txt".
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include "graphics/device.h"
#include "graphics/palette.h"
#include "graphics/surface.h"
#include "platform/video/d3d9_faults.h"
#include "platform/video/gdi.h"
#include "platform/os/message_box.h"
#include "platform/video/presenter.h"
#include "shell/log.h"
#include "tests/support/bmp_builder.h"
#include "tests/support/temp_folder.h"

namespace qbtest {

struct cDisplayMode {
    BOOL bDirect3D;
    int nBpp;
    int nWindowMode;
};

class cGraphicsTest : public testing::Test {
protected:
    void SetUp() override
    {
        m_Folder.ChangeInto();
        plat::SetBoxesShownBySdl(false);
        SetEcLogFile(1, "ec.txt");
        Reset();
    }
    void TearDown() override
    {
        DDUninit();
        Reset();
        SetEcLogFile(0, "ec.txt");
    }
    static void Reset()
    {
        plat::ClearDeviceFaults();
        plat::ResetD3DCaps();
        plat::SetDesktopBitsPerPixel(32);
        std::memset(g_Palette, 0, sizeof g_Palette);
        g_dwColorKey = 0;
        g_SurfaceList.clear();
    }
    bool Init(const cDisplayMode& mode, SURFACEINFO* info = nullptr, DDSURFACEDATA* records = nullptr, int count = 0)
    {
        return DDInit(mode.bDirect3D, nullptr, 640, 480, mode.nBpp, FALSE, mode.nWindowMode, 1, 60, FALSE, records, info,
                      count, 0);
    }
    std::string EcLogText() const { return m_Folder.Exists("ec.txt") ? m_Folder.ReadFile("ec.txt") : std::string(); }
    void Write(const char* name, const std::string& bytes) const { m_Folder.WriteFile(name, bytes); }

    cTempFolder m_Folder;
};

}  // namespace qbtest

// Recovery after a simulated loss: the Direct3D device reset brings file surfaces back
// pixel-equal and empty ones cleared and marked lost; lost DirectDraw surfaces are restored.
#include "tests/graphics/graphics_fixture.h"

#include "graphics/blit.h"
#include "graphics/fill.h"
#include "graphics/present.h"
#include "graphics/restore.h"
#include "tests/graphics/blit_reference.h"

namespace {

using qbtest::cImage;
using RestoreTest = qbtest::cGraphicsTest;

std::vector<std::uint32_t> Picture()
{
    std::vector<std::uint32_t> rgb;
    for (int i = 0; i < 24; ++i) rgb.push_back(i % 5 == 0 ? 0xFF00FF : 0x010203u * static_cast<std::uint32_t>(i + 10));
    return rgb;
}

TEST_F(RestoreTest, ADeviceResetReloadsFilesAndClearsEmptySurfacesMarkedLost)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    DDSetTransmit(0xFF, 0x00, 0xFF);
    Write("pic.bmp", qbtest::BuildBmp24(6, 4, Picture()));
    DDSURFACEDATA file, mirrored, empty, system;
    for (DDSURFACEDATA* sd : {&file, &mirrored, &empty, &system}) ClearSurfaceData(sd);
    ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_EQ(DDCreateSurfaceFromFile(&mirrored, "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 3, 0, FALSE), 0);
    ASSERT_TRUE(DDCreateSurface(&empty, 6, 4, TRUE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&system, 6, 4, TRUE, 0, DTMEMORYTYPE_SYSTEM, nullptr, FALSE));
    DDBltFast(&empty, 0, 0, 6, 4, &file, 0, 0, 1);
    WriteImage(&system, qbtest::Pattern(6, 4, 9));
    const cImage filePixels = qbtest::ReadImage(&file), mirroredPixels = qbtest::ReadImage(&mirrored);

    plat::SimulateD3DDeviceLoss(false);
    EXPECT_EQ(DDPresent(60, 0, nullptr), 0);
    // Not resettable yet: the textures are let go and the restore asks again later.
    EXPECT_EQ(DDRestoreSurface(), 0);
    EXPECT_EQ(file.lpDT->lpTexture, nullptr);
    EXPECT_NE(EcLogText().find("復旧失敗…リセット可能な状態ではありません…"), std::string::npos);
    plat::AllowD3DDeviceReset();
    ASSERT_EQ(DDRestoreSurface(), 1);
    EXPECT_NE(EcLogText().find("Restore Out"), std::string::npos);

    EXPECT_EQ(qbtest::ReadImage(&file), filePixels);
    EXPECT_EQ(qbtest::ReadImage(&mirrored), mirroredPixels);
    EXPECT_FALSE(file.bLost);
    EXPECT_TRUE(empty.bLost);
    EXPECT_EQ(qbtest::ReadImage(&empty), (cImage{6, 4, std::vector<std::uint32_t>(24, lpDTCon->dwTransmitBack)}));
    // A system-memory texture survives the loss as it was.
    EXPECT_EQ(qbtest::ReadImage(&system), qbtest::Pattern(6, 4, 9));
    // Drawing and presenting work again.
    DDBltFast(&empty, 0, 0, 6, 4, &file, 0, 0, 0);
    EXPECT_EQ(qbtest::ReadImage(&empty).At(1, 0), filePixels.At(1, 0));
    DDFillRect(&g_BackBuffer, 0, 0, 2, 2, 0xFF0000FF);
    EXPECT_EQ(DDPresent(60, 0, nullptr), 1);
    EXPECT_EQ(plat::LastFrame().argb[0], 0xFF0000FFu);
    for (DDSURFACEDATA* sd : {&file, &mirrored, &empty, &system}) DDReleaseSurface(sd);
}

TEST_F(RestoreTest, ARecordMadeAgainWithoutReleaseStillLetsTheDeviceReset)
{
    // The first render target of the record would otherwise stay alive in the device's pool
    // and refuse every reset.
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    Write("pic.bmp", qbtest::BuildBmp24(6, 4, Picture()));
    DDSURFACEDATA empty, file;
    ClearSurfaceData(&empty);
    ClearSurfaceData(&file);
    ASSERT_TRUE(DDCreateSurface(&empty, 6, 4, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&empty, 8, 2, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_EQ(DDCreateSurfaceFromFile(&file, "pic.bmp", FALSE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    EXPECT_EQ(std::count(g_SurfaceList.begin(), g_SurfaceList.end(), &empty), 1);
    plat::SimulateD3DDeviceLoss(true);
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_EQ(empty.nWidth, 8);
    EXPECT_TRUE(empty.bLost);
    DDReleaseSurface(&empty);
    DDReleaseSurface(&file);
}

TEST_F(RestoreTest, LostDirectDrawSurfacesAreRestoredAndReloaded)
{
    DDSURFACEDATA records[3];
    SURFACEINFO info[3] = {};
    for (DDSURFACEDATA& r : records) ClearSurfaceData(&r);
    ASSERT_TRUE(Init({FALSE, 32, 1}, info, records, 3));
    DDSetTransmit(0xFF, 0x00, 0xFF);
    Write("pic.bmp", qbtest::BuildBmp24(6, 4, Picture()));
    ASSERT_EQ(DDCreateSurfaceFromFile(&records[0], "pic.bmp", TRUE, 32, 0, 0, nullptr, nullptr, 0, 0, FALSE), 0);
    ASSERT_TRUE(DDCreateSurface(&records[1], 6, 4, FALSE, 0, 0, nullptr, FALSE));
    ASSERT_TRUE(DDCreateSurface(&records[2], 6, 4, FALSE, 1, 0, nullptr, FALSE));
    WriteImage(&records[1], qbtest::Pattern(6, 4, 1));
    WriteImage(&records[2], qbtest::Pattern(6, 4, 2));
    const cImage filePixels = qbtest::ReadImage(&records[0]);
    EXPECT_TRUE(DDRestore());  // nothing lost: nothing done
    EXPECT_FALSE(records[1].bLost);

    plat::SimulateDDrawSurfaceLoss();
    EXPECT_TRUE(qbtest::ReadImage(&records[0]).px.empty()) << "a lost surface cannot be locked";
    EXPECT_TRUE(DDRestore());
    EXPECT_EQ(qbtest::ReadImage(&records[0]), filePixels);
    EXPECT_TRUE(records[1].bLost);
    EXPECT_FALSE(records[2].bLost);
    EXPECT_EQ(qbtest::ReadImage(&records[2]), qbtest::Pattern(6, 4, 2));
    DDUninit();  // releases the records while they exist
}

TEST_F(RestoreTest, EachBackEndRefusesTheOthersRestore)
{
    ASSERT_TRUE(Init({TRUE, 32, 1}));
    EXPECT_TRUE(DDRestore());
    EXPECT_NE(EcLogText().find("D3DではDDRestoreは未対応"), std::string::npos);
    DDUninit();
    ASSERT_TRUE(Init({FALSE, 32, 1}));
    EXPECT_EQ(DDRestoreSurface(), 1);
    EXPECT_NE(EcLogText().find("DDではDDRestoreSurfaceは未対応"), std::string::npos);
}

}  // namespace

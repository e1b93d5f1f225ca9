#include "app/program_hooks.h"

#include "app/scene_factory.h"
#include "data/block_data.h"
#include "data/stage_data.h"
#include "data/template_sources.h"
#include "graphics/dialog_mode.h"
#include "graphics/display_report.h"
#include "graphics/font.h"
#include "graphics/present.h"
#include "graphics/restore.h"
#include "play/block_draw.h"
#include "play/game_manager.h"
#include "shell/error_box.h"
#include "shell/system_report.h"
#include "shell/timing.h"

void RegisterProgramHooks()
{
    SetPaceFrameHooks(DDIsDirect3D, DDDrawPaceOverlay);
    SetFullScreenBox(DDIsFullScreen, DDMesBox);
    SetDisplayReportProvider(DDFillDisplayReport);
    DDSetFontRestoreHooks(LoseFontDevices, RestoreFontSheets);
    // g_StageData's palette is the stage palette of play. Its lists are members of a
    // program-wide object, so they stay where they are whatever stage is read into it.
    SetStagePaletteLists(g_StageData.PaletteLists());
    SetBlockPicture(DrawBlockPicture);
    SetSceneFactory(MakeScene);
}

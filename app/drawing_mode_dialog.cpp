#include "app/drawing_mode_dialog.h"

#include "app/dialog_templates.h"
#include "app/main_window.h"
#include "data/boot_data.h"
#include "data/data_paths.h"
#include "data/system_data.h"
#include "shell/log.h"
#include "shell/system_ini.h"

cDrawingModeDialog* g_lpDrawingModeDialog = nullptr;

namespace {

constexpr WORD kStart = 1000;
constexpr WORD kCancel = 1001;
constexpr WORD kDirect3D = 1002;
constexpr WORD kDirectDraw = 1003;
constexpr WORD kDoNotAsk = 1004;
constexpr WORD kNote = 1005;
constexpr WORD kGroup = 1006;


}  // namespace

cDrawingModeDialog::cDrawingModeDialog()
    : m_Direct3D(std::make_unique<cRadioControl>(&g_BootData.m_nDrawingMode, 1)),
      m_DirectDraw(std::make_unique<cRadioControl>(&g_BootData.m_nDrawingMode, 0)),
      m_DoNotAsk(std::make_unique<cCheckBoxControl>(&g_BootData.m_bDoNotAsk)),
      m_Note(std::make_unique<cLabelControl>())
{
    RegisterProgramDialogs();
    Init(IDD_DRAWINGMODE, &g_MainWindow, 1, &g_WindowRegistry);
    m_DialogProc = LiveDialogProc<cDrawingModeDialog, &g_lpDrawingModeDialog>;
    m_Radios.push_back(m_Direct3D.get());
    m_Radios.push_back(m_DirectDraw.get());
    m_CheckBoxes.push_back(m_DoNotAsk.get());
    m_Labels.push_back(m_Note.get());
    g_lpDrawingModeDialog = this;
    InitLayout(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    const POINT main = g_MainWindow.m_ptPos;
    const int x = main.x + 320 - 187, y = main.y + 240 - 136;
    m_ptInitial = POINT{x, y};
    SetCursorPos(static_cast<int>(x + 181.9), static_cast<int>(y + 198.9));
}

cDrawingModeDialog::~cDrawingModeDialog()
{
    if (g_lpDrawingModeDialog == this) g_lpDrawingModeDialog = nullptr;
}

void cDrawingModeDialog::OnInit(WPARAM wParam, LPARAM lParam)
{
    cDialog::OnInit(wParam, lParam);
    SetWindowTextA(m_hWnd, g_SystemData.m_strTitle.c_str());
    m_Direct3D->Attach(this, kDirect3D);
    m_Controls.push_back(m_Direct3D.get());
    m_DirectDraw->Attach(this, kDirectDraw);
    m_Controls.push_back(m_DirectDraw.get());
    m_DoNotAsk->Attach(this, kDoNotAsk);
    m_Controls.push_back(m_DoNotAsk.get());
    m_Note->Attach(this, kNote);
    m_Controls.push_back(m_Note.get());
    LoadValues();
    if (!g_SystemIni.English) return;
    SetDlgItemTextA(m_hWnd, kGroup, "Drawing mode");
    SetDlgItemTextA(m_hWnd, kStart, "Start");
    SetDlgItemTextA(m_hWnd, kCancel, "Cancel");
    if (cLabelControl* note = FindLabel(m_Labels, kNote))
        SetDlgItemTextA(m_hWnd, note->m_wId, "Configure the detail settings at \"System.ini\".");
    if (cCheckBoxControl* check = FindCheckBox(m_CheckBoxes, kDoNotAsk))
        SetDlgItemTextA(m_hWnd, check->m_wId, "Do not ask this dialog again");
}

void cDrawingModeDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    cDialog::OnCommand(wParam, lParam);
    switch (wParam & 0xFFFF) {
    case kStart: {
        StoreValues();
        const char* path = g_DataPaths[DATAPATH_BOOT];
        // The choice holds for this run even when it cannot be kept for the next.
        if (!g_BootData.Save(path)) ReportLog("%s の保存に失敗しました", path);
        End(1);
        break;
    }
    case kCancel:
        End(0);
        break;
    default:
        break;
    }
}

bool RunDrawingModeDialog() { return RunNewDialog(g_lpDrawingModeDialog) != 0; }

#include "app/name_entry_dialog.h"

#include "app/dialog_templates.h"
#include "app/main_window.h"
#include "app/start_up.h"
#include "data/option_data.h"
#include "play/game_manager.h"
#include "play/play_scene.h"
#include "shell/system_ini.h"

cNameEntryDialog* g_lpNameEntryDialog = nullptr;

namespace {

constexpr WORD kNameEdit = 1003;
constexpr WORD kOkButton = 1000;
constexpr WORD kNameLabel = 1007;

}  // namespace

cNameEntryDialog::cNameEntryDialog()
{
    RegisterProgramDialogs();
    Init(IDD_NAMEENTRY, &g_MainWindow, 1, &g_WindowRegistry);
    m_DialogProc = LiveDialogProc<cNameEntryDialog, &g_lpNameEntryDialog>;
    g_lpNameEntryDialog = this;
    InitLayout(0, 0, 100, 100, 640, 480, 0, 0, 0, 0, 0, 0);
    POINT at{240, 220};
    if (g_bWindowed) at = POINT{g_MainWindow.m_ptPos.x + 240, g_MainWindow.m_ptPos.y + 220};
    m_ptInitial = at;
    SetCursorPos(at.x + 80, at.y + 65);
    if (g_GameManager.m_nGameMode == GAMEMODE_OPTIONS) {
        m_bOptionName = true;
        m_strName = g_OptionData.m_strName;
        m_EditDescs.assign(1, EDITDESC{kNameEdit, &m_strName, 4, 3, 1, 1});
    } else if (cPlayScene* scene = g_lpPlayScene.load()) {
        m_lpScene = scene;
        m_strName = scene->m_StageClear.m_strRankingName;
        m_EditDescs.push_back(MakeEditDesc(kNameEdit, &m_strName, 3, 1));
    }
    for (std::size_t i = 0; i < m_EditDescs.size(); ++i) m_Edits.push_back(std::make_unique<cEditControl>());
}

cNameEntryDialog::~cNameEntryDialog()
{
    if (g_lpNameEntryDialog == this) g_lpNameEntryDialog = nullptr;
}

void cNameEntryDialog::OnInit(WPARAM wParam, LPARAM lParam)
{
    cDialog::OnInit(wParam, lParam);
    if (!m_Edits.empty()) {
        for (std::size_t i = 0; i < m_Edits.size(); ++i) {
            m_Edits[i]->Attach(this, m_EditDescs[i]);
            m_Controls.push_back(m_Edits[i].get());
        }
        LoadValues();
        SetFocus(m_Edits.front()->m_hWnd);
        SendMessageA(m_Edits.front()->m_hWnd, EM_SETSEL, 0, 2147483647);
    }
    if (g_SystemIni.English) SetDlgItemTextA(m_hWnd, kNameLabel, "     Name");
}

void cNameEntryDialog::WriteName()
{
    if (m_Edits.empty()) return;
    if (m_bOptionName) {
        g_OptionData.m_strName = m_strName;
        return;
    }
    // Only into the scene the dialog was opened for, and only while it still exists.
    cPlayScene* scene = g_lpPlayScene.load();
    if (scene && scene == m_lpScene) scene->m_StageClear.m_strRankingName = m_strName;
}

void cNameEntryDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    cDialog::OnCommand(wParam, lParam);
    if ((wParam & 0xFFFF) != kOkButton) return;
    StoreValues();
    WriteName();
    End(1);
}

void RunNameEntryDialog() { RunNewDialog(g_lpNameEntryDialog); }

#pragma once
// The name-entry dialog: a name of at most three characters, the registered name on the
// options screen or the ranking name after a stage clear. Only OK writes the name.
#include <memory>
#include <string>
#include <vector>

#include "shell/dialog_controls.h"

class cPlayScene;

class cNameEntryDialog : public cDialog {
public:
    cNameEntryDialog();
    ~cNameEntryDialog() override;
    void OnInit(WPARAM wParam, LPARAM lParam) override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;

    std::vector<std::unique_ptr<cEditControl>> m_Edits;
    std::vector<EDITDESC> m_EditDescs;

private:
    void WriteName();
    // The name is edited in a copy, written to its owner by OK: the registered name (options
    // screen), or the ranking name of the stage-play scene that existed when the dialog opened
    // (and still exists).
    std::string m_strName;
    bool m_bOptionName = false;
    cPlayScene* m_lpScene = nullptr;
};

// The one live name-entry dialog (null when none), for its dialog procedure.
extern cNameEntryDialog* g_lpNameEntryDialog;

// Runs the dialog modally (the main window's name request).
void RunNameEntryDialog();

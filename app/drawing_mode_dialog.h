#pragma once
// The drawing-mode dialog of the start-up: Direct3D or DirectDraw, and whether to ask again.
// The choice and the tick are kept in the boot record ("user_data\Boot.dat").
#include <memory>

#include "shell/dialog_controls.h"

class cDrawingModeDialog : public cDialog {
public:
    cDrawingModeDialog();
    ~cDrawingModeDialog() override;
    void OnInit(WPARAM wParam, LPARAM lParam) override;
    void OnCommand(WPARAM wParam, LPARAM lParam) override;

    cSafeVector<cRadioControl*> m_Radios;
    cSafeVector<cCheckBoxControl*> m_CheckBoxes;
    cSafeVector<cLabelControl*> m_Labels;

private:
    std::unique_ptr<cRadioControl> m_Direct3D;
    std::unique_ptr<cRadioControl> m_DirectDraw;
    std::unique_ptr<cCheckBoxControl> m_DoNotAsk;
    std::unique_ptr<cLabelControl> m_Note;
};

// The one live drawing-mode dialog (null when none), for its dialog procedure.
extern cDrawingModeDialog* g_lpDrawingModeDialog;

// Runs the dialog at start-up; false when the player cancelled or closed it.
bool RunDrawingModeDialog();

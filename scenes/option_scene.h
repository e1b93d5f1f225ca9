#pragma once
// The options (scene type 5), reached from the title: the window colour of the 8-bit palette,
// BGM on or off, the sound-effect volume, the ranking entry mode and the registered ranking
// name of "user_data\Option.dat". Colour and volume take effect while they are edited; the BGM
// switch takes effect, and the options are saved, when the scene fades out to the title.
#include <string>

#include "play/scene.h"

class cOptionScene : public cScene {
public:
    // Option items, in the order of the System record's option item list.
    enum { ITEM_COLOR, ITEM_BGM, ITEM_VOLUME, ITEM_RANKINGMODE, ITEM_NAME, ITEM_BACK, ITEM_COUNT };

    cOptionScene();
    ~cOptionScene() override;
    void Run() override;
    void Init() override;
    void FadeIn() override;
    void FadeOut() override;

    void StateMenu();

    // BGM off stops and releases the BGM manager; on starts it again when it is not running.
    // Either way the next screen asks for its music anew.
    static void ApplyBgmSwitch();
    // What row item shows as its value.
    static std::string ValueText(int item);
    void CreateOptionSurface();
    void DrawOptionSurface();
    void DrawScreen();

    int m_nItemCount = 1;
    int m_nItems[ITEM_COUNT] = {};
    int m_nEditItem = 0;
    int m_nSavedValue = 0;
    int* m_pValue = nullptr;  // the option being edited, in g_OptionData
    int m_nMin = 0;
    int m_nMax = 0;

private:
    void ChooseItem(int item);
    void EditValue(int direction, int buttons);
    void ApplyValue();
    void OpenNameDialog();
};

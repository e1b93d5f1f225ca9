// The game wait (kind 18) and the message (kind 19): both stop the game while the stage's
// modal loop shows the stage, and hold the message they placed until the loop has ended.
#include <list>

#include "data/command_data.h"
#include "flow/control_commands.h"
#include "objects/chara.h"
#include "objects/message.h"
#include "play/modal_loop.h"
#include "play/play_scene.h"
#include "shell/game_arithmetic.h"
#include "shell/game_requests.h"

namespace {

constexpr int kSoundMessageOpens = 11;

// Runs the modal loop with `message` held in the list, then takes it out with its surface.
// The held node, not the list's last, is the one the command placed: the loop's draws may end
// and erase others.
void WaitWithMessage(cPlayScene& scene, std::list<cMessage>::iterator message)
{
    cMessageList& list = scene.m_MessageList;
    list.m_lpHeld = &*message;
    RunModalLoop(scene);
    if (!list.m_lpHeld) return;  // the list was cleared meanwhile
    list.m_lpHeld = nullptr;
    message->RemoveSurface();
    list.m_Messages.erase(message);
}

// The chara a message follows: its own for placements 1 to 3, player 1's for 4 to 6.
int FollowedSerial(const cChara& chara, int placement)
{
    if (placement >= 1 && placement <= 3) return chara.m_nSerial;
    if (placement >= 4 && placement <= 6) {
        const cChara* player = PlayerOne();
        return player ? player->m_nSerial : 0;
    }
    return 0;
}

}  // namespace

void ExecCmdGameWait(cChara&, cCommandData& command)
{
    cPlayScene* scene = Scene();
    if (!scene || scene->m_nQuitRequest.load() != 0) return;
    const int frames = WrapMul(command.m_Params.At(0), 6);
    MESSAGESETUP setup;
    setup.nKind = kMessageTimer;
    setup.bFixed = 1;
    setup.nDisplayMode = 2;
    setup.nFrames = frames;
    setup.bTimerWhilePaused = 1;
    std::list<cMessage>& messages = scene->m_MessageList.m_Messages;
    messages.emplace_back(setup);
    scene->m_Wait.Set(0, 0, frames, 0);
    WaitWithMessage(*scene, std::prev(messages.end()));
}

void ExecCmdMessage(cChara& chara, cCommandData& command, int chain)
{
    cPlayScene* scene = Scene();
    if (!scene || scene->m_nQuitRequest.load() != 0) return;
    auto param = [&command](int i) { return command.m_Params.At(i); };
    const int displayMode = param(6);
    const bool wait = param(8) != 0;
    const bool erase = param(15) != 0;

    MESSAGESETUP setup;
    setup.nKind = kMessageText;
    setup.lpText = command.m_strCode.c_str();
    setup.nPosMode = param(0);
    setup.nCellX = param(1);
    setup.nCellY = param(2);
    setup.nOffsetX = param(3);
    setup.nOffsetY = param(4);
    setup.bClamp = param(5);
    setup.bFixed = param(10);
    setup.nDisplayMode = displayMode;
    setup.nFrames = WrapMul(param(7), 6);
    setup.bTimerWhilePaused = param(8);
    setup.nCharaSerial = FollowedSerial(chara, param(0));
    setup.bNoGrowIn = chain;
    setup.bExpand = param(9);
    setup.bRefresh = param(11);
    setup.nRefreshInterval = param(16);
    setup.bWindow = param(14);
    setup.bHasId = param(12);
    setup.nId = param(13);

    std::list<cMessage>& messages = scene->m_MessageList.m_Messages;
    auto shown = messages.end();
    if (param(12) != 0) {
        const int id = param(13);
        // Only messages placed with an ID are found by one: item icons carry none.
        auto found = messages.begin();
        while (found != messages.end() && !found->HasId(id)) ++found;
        if (found != messages.end()) {
            if (erase) {
                found->RemoveSurface();
                messages.erase(found);
                return;
            }
            std::string text = command.m_strCode;
            if (setup.bExpand) ExpandMessageVariables(text);
            int width = 0, height = 0;
            MeasureMessageText(&width, &height, text.c_str());
            if (width == found->m_nWidth && height == found->m_nHeight) {
                found->Reinit(setup);
                shown = found;
            } else {
                found->RemoveSurface();
                shown = messages.emplace(messages.erase(found), setup);
            }
        }
    }
    if (shown == messages.end()) {
        if (erase) return;
        shown = messages.emplace(messages.end(), setup);
    }

    if (!wait) return;
    if (displayMode == 0) {
        scene->m_Wait.Set(1, 1, 0, chain);
        if (chain == 0) PlaySe(kSoundMessageOpens);
    } else if (displayMode == 2) {
        scene->m_Wait.Set(1, 0, WrapMul(param(7), 6), chain);
    }
    WaitWithMessage(*scene, shown);
}

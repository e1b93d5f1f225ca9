// The player's pickups of the stage's items, and what applying an item does.
#include "play/item_touch.h"

#include "data/command_info.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "play/play_scene.h"
#include "shell/game_requests.h"

namespace {

constexpr int kTakenOnce = 0;
constexpr int kTakenAgain = 1;
constexpr int kNeverTaken = 2;

bool Overlaps(const DBLRECT& box, const cGameObject& object)
{
    return box.Intersects(DBLRECT{object.m_dX, object.m_dY, object.m_dRight, object.m_dBottom});
}

}  // namespace

int ApplyItemEffect(const cItem* item, cChara& chara)
{
    if (!item || item->m_nImage == 0 || item->m_Def.m_nPickupMode == kNeverTaken || item->m_bActive == 0) return 0;
    // Messages and item actions act on a hero; another chara gets the sound alone.
    auto* hero = dynamic_cast<cHero*>(&chara);
    if (hero && item->m_Def.m_bPickupMessage != 0)
        hero->ShowItemMessage(item->m_Def.m_nImageKind, item->m_Def.m_nImageNumber, item->m_Def.m_nImageFrame);
    PlayDbSe(static_cast<WORD>(item->m_Def.m_nSound));
    return hero ? hero->RunItemActions(item->m_Def.m_Actions) : 0;
}

int cContacts::TouchItems(cHero& player)
{
    cPlayScene& scene = SceneOf(this);
    for (auto it = scene.m_Items.begin(); it != scene.m_Items.end();) {
        cItem& item = *it;
        const int mode = item.m_Def.m_nPickupMode;
        if (item.m_bActive == 0 || mode == kNeverTaken) {
            ++it;
            continue;
        }
        if (!Overlaps(player.m_ItemBox.rect, item)) {
            // Stepping off lets an item taken every time be taken on the next touch.
            if (mode == kTakenAgain) player.ForgetItem(item.m_nSerial);
            ++it;
            continue;
        }
        player.RaiseTrigger(TRIGGER_HIT_ITEM);
        if (mode == kTakenAgain) {
            if (!player.IsNewItem(item.m_nSerial)) {
                ++it;
                continue;
            }
            player.m_Touching.push_back(item.m_nSerial);
        }
        const int result = ApplyItemEffect(&item, Player.At(0));
        if (mode == kTakenOnce) it = scene.m_Items.erase(it);
        else ++it;
        if (result != 0) return result;
    }
    return 0;
}

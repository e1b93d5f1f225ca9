// Hits between the stage's objects, once per sub-step: shots against charas, charas against
// charas and shots against shots, each pair only across layers. The walks allocate nothing:
// they run over the layer lists as they stand.
#include <iterator>

#include "data/command_info.h"
#include "data/item_data.h"
#include "data/role_accessors.h"
#include "data/stage_data.h"
#include "objects/hero.h"
#include "objects/item.h"
#include "play/item_touch.h"
#include "play/play_scene.h"
#include "shell/game_requests.h"

namespace {

constexpr int kShotsPass = 2;

using cShotLayer = std::list<cShot*>;

// With the on-screen-only switch on, what is off the screen takes no part.
bool TakesPart(const cGameObject& object)
{
    return g_StageData.m_bOnScreenOnly == 0 || object.m_bOnScreen != 0;
}

bool CanBeShot(const cChara& chara, const cShot& shot)
{
    return TakesPart(chara) && chara.m_bActive != 0 && chara.m_bDead == 0 &&
           CharaInvincibility(chara.m_Def) != kShotsPass && chara.m_ShotBox.rect.Intersects(shot.m_HitRect) &&
           !shot.HasHit(chara.m_nSerial);
}

bool CanTouch(const cChara& chara)
{
    return TakesPart(chara) && CharaIsBlock(chara.m_Def) == 0 && chara.m_bActive != 0 && chara.m_bDead == 0;
}

bool Hurts(const cChara& attacker, const cChara& target)
{
    return (CharaPower(attacker.m_Def) != 0 || CharaImpact(attacker.m_Def) != 0) &&
           !target.IsImmuneTo(attacker.m_nSerial);
}

// A shot that neither hurts, pushes nor gives anything only tells the chara it was touched.
bool IsHarmless(const cShot& shot)
{
    return shot.Power() == 0 && shot.Impact() == 0 && shot.ItemKind() == 0;
}

// Whether the shot goes on after hitting the chara (and never hits it again).
bool Pierces(const cShot& shot, const cChara& chara)
{
    if (!shot.IsShot()) return true;
    return (CharaIsBlock(chara.m_Def) != 0) ? shot.PiercesBlockCharas() != 0 : shot.PiercesCharas() != 0;
}

// The item a shot gives player 1 on a hit, through a short-lived copy of its template.
int GiveShotItem(const cShot& shot)
{
    const cItemData* found = FindItemTemplate(shot.ItemKind(), shot.ItemNumber());
    if (!found) return 0;
    cItemData definition = *found;
    cItem item;
    item.InitFromDefinition(0, definition, 1);
    return ApplyItemEffect(&item, Player.At(0));
}

}  // namespace

int cContacts::SettleTouch(bool hit, int gone, cChara& target, const cChara& attacker)
{
    if (!hit) return 0;
    if (gone == 0) {
        target.StartInvincibilityFrom(attacker.m_nSerial);
        return 0;
    }
    if (target.m_nKind == 1) PlaySe(kSoundCharaDeath);
    const int result = ResolveDefeat(target);
    return (result == 1 || result == 2) ? result : 0;
}

int cContacts::ProcessContacts()
{
    cPlayScene& scene = SceneOf(this);
    // The layer lists as the set-up sized them (none before it).
    const int shotLayers = static_cast<int>(scene.m_ShotLists.m_ShotLayers.size());
    const int charaLayers = static_cast<int>(scene.m_CharaLayers.size());
    // Shots against charas, in the sub-steps the stage's hit-test rate marks.
    const bool shotsHit = g_StageData.m_nContactLevel == 0 || m_SubStepActive.At(scene.m_nSubStep - 1) != 0;
    for (int k = 0; shotsHit && k < shotLayers; ++k) {
        cShotLayer& shots = scene.m_ShotLists.m_ShotLayers.At(k);
        for (int c = 0; c < charaLayers; ++c) {
            cSafeList<cChara*>& charas = scene.m_CharaLayers.At(c);
            if (c == k || charas.empty()) continue;
            for (auto it = shots.begin(); it != shots.end();) {
                cShot& shot = **it;
                if (!TakesPart(shot)) {
                    ++it;
                    continue;
                }
                bool vanish = false;
                for (cChara* chara : charas) {
                    if (!CanBeShot(*chara, shot)) continue;
                    chara->RaiseTrigger(TRIGGER_HIT_SHOT);
                    if (IsHarmless(shot) || chara->IsInvincible()) continue;
                    if (chara->TakeShotHit(shot) != 0) {
                        if (chara->m_nKind == 1) PlaySe(kSoundCharaDeath);
                        const int result = ResolveDefeat(*chara);
                        if (result == 1 || result == 2) return result;
                    } else {
                        PlaySe(kSoundHit);
                        chara->StartInvincibility();
                    }
                    if (Pierces(shot, *chara)) shot.AddHit(chara->m_nSerial);
                    else vanish = true;
                    if (shot.ItemKind() != 0) {
                        if (const int result = GiveShotItem(shot); result != 0) return result;
                    }
                }
                // A shot that vanishes has still hit every chara of this layer it touched.
                auto next = std::next(it);
                if (vanish) scene.m_ShotLists.Remove(shot);
                it = next;
            }
        }
    }

    // Charas against charas: both hits land before either chara's invincibility starts.
    for (int i = 0; i < charaLayers; ++i) {
        cSafeList<cChara*>& first = scene.m_CharaLayers.At(i);
        if (first.empty()) continue;
        for (int j = i + 1; j < charaLayers; ++j) {
            cSafeList<cChara*>& second = scene.m_CharaLayers.At(j);
            if (second.empty()) continue;
            for (cChara* a : first) {
                for (cChara* b : second) {
                    if (!CanTouch(*a) || !CanTouch(*b) || !a->m_BodyBox.rect.Intersects(b->m_BodyBox.rect)) continue;
                    a->RaiseTrigger(TRIGGER_HIT_CHARA);
                    b->RaiseTrigger(TRIGGER_HIT_CHARA);
                    const bool aHit = Hurts(*b, *a);
                    const int aGone = aHit ? a->TakeCharaHit(*b) : 0;
                    const bool bHit = Hurts(*a, *b);
                    const int bGone = bHit ? b->TakeCharaHit(*a) : 0;
                    if (aHit || bHit) PlaySe(kSoundHit);
                    if (const int result = SettleTouch(aHit, aGone, *a, *b); result != 0) return result;
                    if (const int result = SettleTouch(bHit, bGone, *b, *a); result != 0) return result;
                }
            }
        }
    }

    // Shots against shots: a breakable shot breaks on a shot of another layer, the weaker of
    // two breakable ones (both when equal).
    for (int j = 0; j < shotLayers; ++j) {
        cShotLayer& lower = scene.m_ShotLists.m_ShotLayers.At(j);
        if (lower.empty()) continue;
        for (int k = j + 1; k < shotLayers; ++k) {
            cShotLayer& upper = scene.m_ShotLists.m_ShotLayers.At(k);
            if (upper.empty()) continue;
            for (auto uit = lower.begin(); uit != lower.end();) {
                cShot& u = **uit;
                bool uBreaks = false;
                for (auto vit = upper.begin(); vit != upper.end();) {
                    cShot& v = **vit;
                    auto next = std::next(vit);
                    if ((u.Breakable() != 0 || v.Breakable() != 0) && u.Bounds().Intersects(v.Bounds())) {
                        const bool bothBreak = u.Breakable() != 0 && v.Breakable() != 0;
                        if (u.Breakable() != 0 && (!bothBreak || v.Strength() >= u.Strength())) uBreaks = true;
                        if (v.Breakable() != 0 && (!bothBreak || v.Strength() <= u.Strength())) scene.m_ShotLists.Remove(v);
                    }
                    vit = next;
                }
                auto next = std::next(uit);
                if (uBreaks) scene.m_ShotLists.Remove(u);
                uit = next;
            }
        }
    }
    return 0;
}

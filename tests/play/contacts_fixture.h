#pragma once
// A stage of hits for the tests of contacts, defeats and pickups: player 1 as a hero on layer
// 0, charas and shots placed by hand with their boxes, and one ordered log of what happened:
// the triggers raised (with the chara's serial and HP at that moment) and the sounds asked for.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/command_info.h"
#include "data/save_data.h"
#include "flow/triggers.h"
#include "objects/hero.h"
#include "shell/game_requests.h"
#include "tests/stage/stage_fixture.h"

class ContactsTest : public qbtest::cStageTest {
protected:
    static constexpr int kHeroSerial = qbtest::cStageFixture::kPlayerOneSerial;

    ContactsTest()
    {
        s_Log.clear();
        SetTriggerObserver(LogTrigger);
        SetRequestObserver(LogRequest);
        Scene().m_ShotLists.m_ShotLayers.assign(kObjectLayers, {});
        Scene().m_nSubStep = 1;
        g_SaveData.m_nScore = 0;
        cHero& hero = Hero();
        hero.m_Def.m_nOperator = 0;
        hero.m_nKind = 0;
        hero.m_nSerial = kHeroSerial;
        hero.m_Def.m_nMaxHp = 100;
        hero.m_nHp = 10;
        hero.m_bActive = 1;
        hero.m_bOnScreen = 1;
        SetBoxes(hero, 0, 0);
        Scene().m_CharaLayers.At(0).push_back(&hero);
    }
    ~ContactsTest() override
    {
        SetTriggerObserver(nullptr);
        SetRequestObserver(nullptr);
    }

    cHero& Hero() { return m_Player; }

    // Body and shot boxes: the 32 x 32 square at (x, y).
    static void SetBoxes(cChara& chara, double x, double y)
    {
        chara.m_dX = x;
        chara.m_dY = y;
        chara.m_dRight = x + 31;
        chara.m_dBottom = y + 31;
        chara.m_BodyBox.rect = DBLRECT{x, y, x + 31, y + 31};
        chara.m_ShotBox.rect = chara.m_BodyBox.rect;
    }

    // An active, on-screen stage chara of `layer` with HP `hp` and body power `power`, its
    // boxes at (x, 0).
    cStageChara& AddChara(int layer, double x, int hp, int power = 0)
    {
        cCharaData definition = CharaTemplate();
        definition.m_nMaxHp = 100;
        definition.m_nBodyAttack = power;
        definition.m_nGroup2Setting = static_cast<BYTE>(layer);
        Scene().PlaceChara(0, 0, definition, nullptr);
        cStageChara& chara = Scene().m_Charas.back();
        chara.m_nHp = hp;
        chara.m_bActive = 1;
        chara.m_bOnScreen = 1;
        SetBoxes(chara, x, 0);
        Scene().m_CharaLayers.At(layer).push_back(&chara);
        return chara;
    }

    // An on-screen shot (or sword) of `layer` with power `power`, its hit rectangle and bounds
    // the 16 x 16 square at (x, 8).
    cShot& AddShot(int layer, double x, int power, int serial)
    {
        cShot& shot = Scene().m_ShotLists.m_Shots.emplace_back();
        shot.m_nSerial = serial;
        shot.m_nPassLayer = layer;
        shot.m_Def.m_nPower = power;
        shot.m_bOnScreen = 1;
        shot.m_dX = x;
        shot.m_dY = 8;
        shot.m_dRight = x + 15;
        shot.m_dBottom = 23;
        shot.m_HitRect = shot.Bounds();
        Scene().m_ShotLists.m_ShotLayers.At(layer).push_back(&shot);
        return shot;
    }

    std::vector<int> ShotSerials() const
    {
        std::vector<int> serials;
        for (const cShot& shot : m_Stage.Scene().m_ShotLists.m_Shots) serials.push_back(shot.m_nSerial);
        return serials;
    }

    static std::vector<std::string> TakeLog()
    {
        std::vector<std::string> log;
        log.swap(s_Log);
        return log;
    }

    static std::string Trigger(int trigger, const cChara& chara)
    {
        return "T" + std::to_string(trigger) + " #" + std::to_string(chara.m_nSerial) + " hp" +
               std::to_string(chara.m_nHp);
    }
    static std::string Sound(int n) { return "S" + std::to_string(n); }

    inline static std::vector<std::string> s_Log;

private:
    static void LogTrigger(const cChara& chara, int trigger) { s_Log.push_back(Trigger(trigger, chara)); }
    static void LogRequest(UINT msg, WPARAM wParam, LPARAM)
    {
        if (msg == WM_GAME_PLAYSE) s_Log.push_back(Sound(static_cast<int>(wParam)));
    }
};

// The ten databases: three sound effects, two tunes and the title picture.
#include "tools/demo-game/demo_content.h"
#include "tools/demo-game/demo_database.h"

void AddDemoDatabase(DEMOGAME& game)
{
    cDatabase& database = game.database;
    database.m_Sounds.resize(DEMO_SOUNDS + 1);
    const char* const sounds[][2] = {{"ジャンプ", "wave\\Jump.wav"}, {"コイン", "wave\\Coin.wav"}, {"ヒット", "wave\\Hit.wav"}};
    for (int i = 0; i < DEMO_SOUNDS; ++i) {
        database.m_Sounds[i + 1].m_strName = sounds[i][0];
        database.m_Sounds[i + 1].m_strFile = sounds[i][1];
    }
    database.m_Bgms.resize(DEMO_BGMS + 1);
    database.m_Bgms[DEMO_BGM_OGG].m_strName = "Ogg";
    database.m_Bgms[DEMO_BGM_OGG].m_strFile = "bgm\\Title.ogg";
    database.m_Bgms[DEMO_BGM_MIDI].m_strName = "MIDI";
    database.m_Bgms[DEMO_BGM_MIDI].m_strFile = "bgm\\Title.mid";
    database.m_Pictures[1].m_strName = "タイトル";
    database.m_Pictures[1].m_strFile = "bmp\\Title.bmp";
}

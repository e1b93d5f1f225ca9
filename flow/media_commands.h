#pragma once
// The status, graphics and media commands (kinds 23 to 36; also item actions 8 to 21).
class cChara;
class cCommandData;

void ExecCmdStatusOperation2(cChara& chara, cCommandData& command);
void ExecCmdGetItem(cChara& chara, cCommandData& command);
void ExecCmdChangeGraphic(cChara& chara, cCommandData& command);
void ExecCmdChangeAnimeSet(cChara& chara, cCommandData& command);
void ExecCmdRunAnime(cChara& chara, cCommandData& command);
void ExecCmdRunEffect(cChara& chara, cCommandData& command);
void ExecCmdRunCharaEffect(cChara& chara, cCommandData& command);
void ExecCmdRunScreenEffect(cChara& chara, cCommandData& command);
void ExecCmdShowPicture(cChara& chara, cCommandData& command);
void ExecCmdChangeScreenColor(cChara& chara, cCommandData& command);
void ExecCmdChangeBackground(cChara& chara, cCommandData& command);
void ExecCmdPlaySound(cCommandData& command, cChara& chara);
void ExecCmdPlayBgm(cCommandData& command);
void ExecCmdRunCode(cChara& chara, cCommandData& command);

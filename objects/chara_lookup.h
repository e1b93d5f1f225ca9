#pragma once
// Finding a chara of the running stage by its serial number, as messages and shots name them.
class cChara;

// Player charas first, in order, then the stage's charas in order; null when none has it.
cChara* FindCharaBySerial(int serial);

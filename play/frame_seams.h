#pragma once
// Riding and block effects are not built yet: their play-frame calls say so once and change
// nothing. Until riding exists a test can stand in for its hit processing, so that the death
// it can cause is reachable.
class cChara;

// null: the stand-in is removed.
void SetProcessHitsStandIn(int (*standIn)(cChara& chara));

#pragma once
// Riding and block effects are not built yet: their play-frame calls say so once and change
// nothing. Until riding exists a test can stand in for its hit processing, so that the death
// it can cause is reachable.
#include "play/object_lists.h"

class cChara;

// What the play frame calls of riding and block effects: each gives 0 when nothing decisive
// happened, 2 when the chara is killed, and the block effects 1 when the stage is cleared. A
// part of cPlayScene, which derives from it.
class cRidingAndBlockEffects {
public:
    int ProcessHits(cChara& chara, cCharaList& charas);
    int FollowRiddenChara(cChara& chara, cCharaList& charas);
    int ApplyBlockEffect(cChara& player);
    int ApplyBlockItemEffect(cChara& player);
};

// null: the stand-in is removed.
void SetProcessHitsStandIn(int (*standIn)(cChara& chara));

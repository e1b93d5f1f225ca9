#pragma once
// Objects and records that other parts of the game layer fill in later. They exist now so that
// charas can hold them; what acts on them says "not built yet" once.
#include "objects/object_base.h"

// The shots and swords that hit a chara recently, so that one hit counts once.
struct cHitImmunityList {};
// A command animation running on a chara.
struct cCharaAnimation {};
// An on-screen message, an effect instance and a picture of the stage.
struct cMessage {};
struct cEffectInstance {};
struct cPicture {};

class cShot : public cGameObject {};
// Built in objects/item.h.
class cItem;

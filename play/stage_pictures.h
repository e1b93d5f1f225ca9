#pragma once
// The pictures of a stage: the standard stage pictures and background slots that the scene
// loads when it starts a stage, the database's dedicated chara, sword and effect pictures,
// the shot cells re-laid for charas, the darkness mask of the hero's sight, and the pictures
// flows show over the stage, in the order they were placed.
#include <list>

#include "objects/picture.h"

struct DDSURFACEDATA;

class cStagePictures {
public:
    // The background slots take the stage's background pictures; then the first stage after
    // another scene loads every standard stage picture, the shot cells and the database's
    // pictures, and a stage that follows a stage only the backgrounds (a retry keeps the
    // database's pictures as they were loaded). False when a standard picture could not be
    // loaded.
    bool Load(bool reEntered);
    // Every picture the stage loaded, when the scene goes (nothing when it loaded none).
    void Release();
    // The database's picture sets, each released and made again from its table: four
    // surfaces for each dedicated chara picture (it, its cells flipped, their effect copies),
    // four for each sword type (its two pictures and their effect copies), two for each
    // effect (it and its effect copy). A picture that cannot be read is logged and left
    // empty.
    void LoadCharaPictures();
    void LoadSwordPictures();
    void LoadEffectPictures();
    // The shot sheet and its flipped copy laid out for charas: each 16 x 16 cell centred in a
    // 32 x 32 cell of standard surfaces 63 and 64.
    void BuildShotCells();
    // The darkness of player 1's sight: a mask of 1280 + 2r by 960 + 2r pixels of colour 16,
    // with a transparent disc (the round shapes) or square (the others) of radius r, its
    // sight radius, at its centre; `hole` is the work surface that cuts the disc. A sight
    // radius below 0 is taken as 0.
    void BuildSightMask(DDSURFACEDATA* mask, DDSURFACEDATA* hole);
    // The set-up's start: no picture shown.
    void ClearPictures();
    // The pictures of one layer (0 behind the blocks, 1 in front of everything).
    void Draw(DDSURFACEDATA* target, int layer, int paused);

    std::list<cPicture> m_Pictures;
    // The standard stage pictures and the database's sets were loaded by this scene.
    bool m_bLoaded = false;
};

// The standard surfaces of the sight mask and of the work surface that cuts its hole.
constexpr int kSightMask = 65;
constexpr int kSightHole = 66;

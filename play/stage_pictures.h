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
    // Every picture the stage loaded and every picture shown, when the scene goes.
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
    // The pictures that flows show run in step with g_PictureSurface and
    // g_PictureSurfaceInfo: index i of each belongs to index i of the others.
    // No picture shown, every picture surface let go (the set-up's start, the scene's end).
    void ClearPictures();
    // The pictures of one layer (0 behind the blocks, 1 in front of everything); a timed
    // picture that has run out goes with its surface.
    void Draw(DDSURFACEDATA* target, int layer, int paused);
    // The index of the first picture shown with ID number `idNumber`, or -1.
    int FindPicture(int idNumber) const;
    // Picture `index` with its surface and the surface's description let go.
    void RemovePicture(int index);
    // The surface of a new picture, loaded from `file` at `position` of the surface lists (0
    // the front, the length or more, or below 0, the end). Null when the file cannot be
    // loaded; nothing is then left in the lists, so later pictures keep their own surfaces.
    DDSURFACEDATA* LoadPictureSurface(int position, const char* file, int memType);
    // The picture into the list at `position`, where its surface went; returns its serial.
    int InsertPicture(int position, cPicture picture);
    // The picture of that serial taken away with its surface; nothing when it has ended
    // already.
    void RemovePictureBySerial(int serial);

    std::list<cPicture> m_Pictures;
    int m_nNextSerial = 0;
    // The standard stage pictures and the database's sets were loaded by this scene.
    bool m_bLoaded = false;
};

// The standard surfaces of the sight mask and of the work surface that cuts its hole.
constexpr int kSightMask = 65;
constexpr int kSightHole = 66;

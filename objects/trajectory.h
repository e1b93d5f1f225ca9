#pragma once
// The flight paths of shots: once per sub-step, inside cShot::Update, the function of the
// shot's trajectory kind may change its own velocity: turn it once toward a chara, steer it
// toward one for a stretch, make it wave or let it fall.
class cGameObject;
class cShot;

// Trajectory kinds of a shot's settings.
constexpr int kTrajectoryStraight = 0;
constexpr int kTrajectoryAimHero = 1;
constexpr int kTrajectoryAimNearest = 2;
constexpr int kTrajectoryAimTarget = 3;
constexpr int kTrajectoryHomeHero = 4;
constexpr int kTrajectoryHomeNearest = 5;
constexpr int kTrajectoryHomeTarget = 6;
constexpr int kTrajectoryHomeNearestSwitching = 7;
constexpr int kTrajectoryWave = 8;
constexpr int kTrajectoryFall = 9;

// Runs the function of the shot's trajectory kind; a kind outside 0..9 does nothing.
void RunTrajectory(cShot& shot);

void TrajectoryAimHero(cShot& shot);
void TrajectoryAimNearest(cShot& shot);
void TrajectoryAimTarget(cShot& shot);
void TrajectoryHomeHero(cShot& shot);
void TrajectoryHomeNearest(cShot& shot);
void TrajectoryHomeTarget(cShot& shot);
void TrajectoryWave(cShot& shot);
void TrajectoryFall(cShot& shot);

// An object's screen centre, with integer halves of its drawing size.
int ScreenCentreX(const cGameObject& object);
int ScreenCentreY(const cGameObject& object);

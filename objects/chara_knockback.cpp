#include "objects/chara_knockback.h"

#include "objects/object_base.h"
#include "shell/game_arithmetic.h"

namespace {

constexpr double kOpposedBeyond = 0.00000001;

// Clears `value` when it points against `push`, both clearly away from 0.
void DropIfOpposed(double& value, double push)
{
    if (Magnitude(value) > kOpposedBeyond && Magnitude(push) > kOpposedBeyond && (value < 0) != (push < 0))
        value = 0;
}

}  // namespace

void StartKnockback(cGameObject& chara, KNOCKBACK& knockback, int strength, int resistance,
                    double dx, double dy, const STAGESPEED& speed)
{
    if (strength == 0) return;
    const int s = ResistKnockback(strength, resistance);
    if (s != 0) {
        const double sum = Magnitude(dx) + Magnitude(dy);
        if (sum == 0) {
            knockback.dSpeedX = 0;
            knockback.dSpeedY = 0;
        } else {
            knockback.dSpeedX = KnockbackSpeed(s * dx / sum, speed);
            knockback.dSpeedY = KnockbackSpeed(s * dy / sum, speed);
        }
    }
    DropIfOpposed(chara.m_dInertiaX, knockback.dSpeedX);
    DropIfOpposed(chara.m_dInertiaY, knockback.dSpeedY);
    DropIfOpposed(chara.m_dVY, knockback.dSpeedY);
    knockback.bKnocked = 1;
}

void ApplyKnockbackY(cGameObject& chara, KNOCKBACK& knockback, bool onGround)
{
    if (knockback.dSpeedY == 0) return;
    if (chara.m_bFlying == 0) {
        if (knockback.dSpeedY > 0 && onGround) {
            knockback.dSpeedY = 0;
        } else {
            chara.m_dVY = chara.m_dVY - knockback.dPrevY + knockback.dSpeedY;
        }
    } else {
        chara.m_dVY += knockback.dSpeedY;
    }
    knockback.dPrevY = knockback.dSpeedY;
}

void DecayKnockback(double& knockbackSpeed, const STAGESPEED& speed)
{
    StepTowardZero(knockbackSpeed, 1 / speed.dSteps);
}

#include "play/sub_step_table.h"

void FillSubStepTable(cSafeVector<int>& table, int steps, int rate)
{
    const int count = steps > 0 ? steps : 0;
    if (rate <= 0) {
        // A negative rate would mark nothing and hang the walk below: it counts as 0.
        table.assign(static_cast<size_t>(count), 1);
        return;
    }
    table.assign(static_cast<size_t>(count), 0);
    // The positions are summed (p += step) rather than computed as k * step: the two forms can
    // differ in the last bit and so mark another sub-step. The summed form is the one chosen,
    // so that every build marks the same sub-steps.
    const double step = static_cast<double>(count) / rate;
    int marks = 0;
    for (double p = 0.0; static_cast<int>(p) < count; p += step) {
        table.At(static_cast<int>(p)) = 1;
        ++marks;
    }
    if (marks < rate && count > 0) table.At(count - 1) = 1;
}

#include "twips.h"

#include <cmath>

namespace Quorvath::Twips {

namespace {
double g_scale = 1.0;
} // namespace

double scale() { return g_scale; }

void setScale(double scale) { g_scale = scale > 0 ? scale : 1.0; }

int px(int t)
{
    // Half a pixel rounds up, so that at scale 1 this is (t + 7) / 15.
    return int(std::floor(t * g_scale / PerPixel + 0.5));
}

} // namespace Quorvath::Twips

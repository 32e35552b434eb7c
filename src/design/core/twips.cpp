#include "twips.h"

#include <cmath>

namespace Quorvath::Twips {

int Scale::px(int t) const
{
    // Half a pixel rounds up, so that at scale 1 this is (t + 7) / 15.
    return int(std::floor(t * m_factor / PerPixel + 0.5));
}

} // namespace Quorvath::Twips

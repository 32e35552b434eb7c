// Names for the sixteen entries of the shared palette.
#pragma once

namespace ArtGen {

enum Ink {
    Black, Night, Wall, WallLit, WallBright,
    RobeDark, Robe, RobeLight,
    Skin, SkinShade, Wood,
    FlameRed, FlameOrange, FlameYellow,
    Grey, White,
};

} // namespace ArtGen

#pragma once

namespace caption {

// How a caption text's font is chosen.
enum TFontKind { fkCustom, fkSystem, fkSystemI, fkSystemB, fkSystemBI, fkAutoHeight };

// When the title bar shows the gradient.
enum TGradEnabled { geAlways, geNever, geWhenActive, geSmart };

// Where the caption texts stand in the title bar.
enum TJustification { jAuto, jLeft, jCenter, jRight };

} // namespace caption

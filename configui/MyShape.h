#pragma once
// The shape control as descriptions use it: a plain shape whose mouse events and click the
// configuration window can bind, so a drawn shape can act as a button.

#include "configui/ExtControls.h"

namespace ml {

class TMyShape : public TShape {
public:
    using TShape::TShape;
};

} // namespace ml

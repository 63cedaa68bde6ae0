#pragma once
// The bevel control as descriptions use it: a plain bevel whose mouse events and click the
// configuration window can bind.

#include "configui/ExtControls.h"

namespace ml {

class TMyBevel : public TBevel {
public:
    using TBevel::TBevel;
};

} // namespace ml

#pragma once
// The property tables of the classes a description may name. Units that add a class derive
// its table from one of these, for example a picture pane from ImageProperties(), and add
// its own properties with the groups below.

#include "configui/ClassRegistry.h"

namespace ml {

class TPicture;

// Every visual control: geometry, Tag, Align, hints, cursor, visibility, enabling.
const TPropertyTable& ControlProperties();
// Property groups a class table adds when its class publishes them.
void AddCaption(TPropertyTable& table);
void AddColor(TPropertyTable& table);
void AddFont(TPropertyTable& table);
void AddWinControl(TPropertyTable& table); // TabOrder, TabStop, Ctl3D and the like

// A picture given as Name.Data = {class name + graphic stream}.
TPicture ReadPicture(const TPropertyValue& value);

const TPropertyTable& FormProperties();
const TPropertyTable& ImageProperties();
const TPropertyTable& ShapeProperties();
const TPropertyTable& BevelProperties();

} // namespace ml

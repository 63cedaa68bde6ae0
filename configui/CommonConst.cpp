#include "configui/CommonConst.h"

namespace ml {

const std::array<const char*, kPropertyListCount> kPropertyLists = {
    "Caption=string,Cursor=tcursor,Font=tfont,Glyph=tglyph,NumGlyphs=string,Hint=ttext,"
    "ShowHint=boolean,TabOrder=string",
    "Align=talign,Alignment=talignment,AutoSize=boolean,Caption=ttext,Color=tcolor,"
    "Cursor=tcursor,Font=tfont,Layout=ttextlayout,Transparent=boolean,WordWrap=boolean,"
    "Hint=ttext,ShowHint=boolean",
    "Align=talign,AutoSize=boolean,Center=boolean,Cursor=tcursor,Picture=tpicture,"
    "Stretch=boolean,Transparent=boolean,Hint=ttext,ShowHint=boolean",
    "Align=talign,Shape=tbevelshape,Style=tbevelstyle",
    "Align=talign,BrushColor=tbrushcolor,BrushStyle=tbrushstyle,PenColor=tpencolor,"
    "PenSize=string,Shape=tshapetype",
    "Align=talign,Color=tcolor,Caption=string,BevelInner=tpanelbevel,BevelOuter=tpanelbevel",
    "Align=talign,Tabs=ttabs,Font=tfont,HotTrack=boolean,Style=ttabstyle,"
    "TabPosition=ttabposition,TabOrder=string",
    "Caption=string,Color=tcolor,NoFrame=boolean,Sizeable=boolean,ShowButtons=boolean,"
    "MaximizeButton=boolean,MinimizeButton=boolean,MaximizeOnShow=boolean",
    "Caption=string,Font=tfont,ShowCaption=boolean,ButtonUp=tpicture,ButtonDown=tpicture,"
    "ButtonOver=tpicture,Transparent=boolean",
    "Caption=string",
    "Caption=string,ButtonEditor=tjetbuttoneditor",
    "Align=talign,Ctl3D=boolean,ShowCheckBox=boolean,ShowTitle=boolean,MultiRows=boolean,"
    "Color=tcolor,PictureWidth=string,PictureHeight=string",
    "Align=talign,Cursor=tcursor,ShowHint=boolean,Hint=ttext,UnavailableMsg=ttext",
    "Align=talign,BorderStyle=tborderstyle,Ctl3D=boolean,Color=tcolor,WordWrap=boolean,"
    "Font=tfont,Text=ttext,TabOrder=string",
    "BorderStyle=tborderstyle,Ctl3D=boolean,Color=tcolor,Font=tfont,TabOrder=string",
};

} // namespace ml

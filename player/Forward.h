#pragma once

typedef struct _cairo cairo_t;

namespace swf
{

class ActionRecord;
class ButtonDefinition;
class ButtonInstance;
class CharacterDefinition;
class ControlTag;
class DisplayList;
class DisplayObject;
class FileStream;
class Font;
class MovieDefinition;
class MovieInstance;
class Resource;
class ShapeDefinition;
class SpriteDefinition;
class SpriteInstance;
class SwfStream;
class TimelineDefinition;
struct ColorTransform;
struct Matrix;
struct Rect;
struct RenderContext;
struct Rgba;

} // namespace swf

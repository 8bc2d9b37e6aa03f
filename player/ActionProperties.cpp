#include "player/ActionSpriteObject.h"
#include "player/MovieInstance.h"
#include "player/ScriptProperties.h"
#include "player/TextField.h"

#include <algorithm>
#include <cmath>

namespace swf
{

namespace
{

constexpr double TwipsPerPixel = 20.0;
constexpr double Pi = 3.14159265358979323846;

// Script numbers go into float fields; anything beyond this many pixels (or percent, or
// degrees) is clamped so the conversion is always defined.
constexpr double Limit = 1.0e7;

bool finiteNumber(const ScriptValue& value, double& out)
{
    out = value.toNumber();
    if (!std::isfinite(out))
        return false;
    out = std::clamp(out, -Limit, Limit);
    return true;
}

// Bounds of the object in its parent's twips.
Rect parentBounds(const DisplayObject& object)
{
    Rect local = object.localBounds();
    const Matrix& m = object.matrix();
    float xs[4] = {local.xmin, local.xmax, local.xmin, local.xmax};
    float ys[4] = {local.ymin, local.ymin, local.ymax, local.ymax};
    Rect out;
    for (int i = 0; i < 4; ++i)
    {
        float x = xs[i], y = ys[i];
        m.transform(x, y);
        if (i == 0 || x < out.xmin)
            out.xmin = x;
        if (i == 0 || x > out.xmax)
            out.xmax = x;
        if (i == 0 || y < out.ymin)
            out.ymin = y;
        if (i == 0 || y > out.ymax)
            out.ymax = y;
    }
    return out;
}

// "/menu/button"; the root itself reads "/_root".
std::string targetPath(DisplayObject& object)
{
    if (!object.parent())
        return "/_root";
    std::string path;
    for (DisplayObject* o = &object; o->parent(); o = o->parent())
        path = "/" + o->name() + path;
    return path;
}

void setColumnLength(float& a, float& b, double length)
{
    double current = std::hypot(a, b);
    if (current > 0)
    {
        a = static_cast<float>(a * length / current);
        b = static_cast<float>(b * length / current);
    }
    else
    {
        a = static_cast<float>(length);
        b = 0;
    }
}

} // namespace

bool mousePosition(DisplayObject& space, bool parentSpace, float& x, float& y)
{
    MovieInstance* movie = space.movieInstance();
    if (!movie)
        return false;
    x = static_cast<float>(movie->mouseX());
    y = static_cast<float>(movie->mouseY());
    // Viewport pixels -> movie twips -> the object's (or its parent's) twips.
    Matrix toMovie;
    toMovie.setInverse(movie->displayMatrix());
    toMovie.transform(x, y);
    Matrix world = parentSpace ? (space.parent() ? space.parent()->worldMatrix() : Matrix()) : space.worldMatrix();
    Matrix toLocal;
    toLocal.setInverse(world);
    toLocal.transform(x, y);
    x *= 0.05f;
    y *= 0.05f;
    return std::isfinite(x) && std::isfinite(y);
}

bool getDisplayProperty(DisplayObject& object, int index, ScriptValue& out)
{
    const Matrix& m = object.matrix();
    SpriteInstance* sprite = object.asSprite();
    switch (static_cast<ScriptProperty>(index))
    {
    case ScriptProperty::X:
        out = ScriptValue(m.m02 / TwipsPerPixel);
        return true;
    case ScriptProperty::Y:
        out = ScriptValue(m.m12 / TwipsPerPixel);
        return true;
    case ScriptProperty::XScale:
        out = ScriptValue(std::hypot(m.m00, m.m10) * 100.0);
        return true;
    case ScriptProperty::YScale:
        out = ScriptValue(std::hypot(m.m01, m.m11) * 100.0);
        return true;
    case ScriptProperty::CurrentFrame:
        if (!sprite)
            return false;
        out = ScriptValue(sprite->currentFrame() + 1); // frames count from 1 for scripts
        return true;
    case ScriptProperty::TotalFrames:
    case ScriptProperty::FramesLoaded:
        if (!sprite)
            return false;
        out = ScriptValue(sprite->frameCount()); // a movie is loaded whole
        return true;
    case ScriptProperty::Alpha:
        out = ScriptValue(object.colorTransform().aMul * 100.0);
        return true;
    case ScriptProperty::Visible:
        out = ScriptValue::fromBool(object.visible());
        return true;
    case ScriptProperty::Width:
    case ScriptProperty::Height:
    {
        Rect r = parentBounds(object);
        double size = index == 8 ? r.xmax - r.xmin : r.ymax - r.ymin;
        out = ScriptValue(size / TwipsPerPixel);
        return true;
    }
    case ScriptProperty::Rotation:
        out = ScriptValue(std::atan2(m.m10, m.m00) * 180.0 / Pi);
        return true;
    case ScriptProperty::Target:
        out = ScriptValue(targetPath(object));
        return true;
    case ScriptProperty::Name:
        out = ScriptValue(object.name());
        return true;
    case ScriptProperty::DropTarget:
        out = ScriptValue("");
        return true; // nothing is ever dropped
    case ScriptProperty::Url:
        out = ScriptValue("velkarswf");
        return true;
    case ScriptProperty::HighQuality:
        out = ScriptValue(1);
        return true;
    case ScriptProperty::FocusRect:
        out = ScriptValue(1);
        return true;
    case ScriptProperty::SoundBufTime:
        out = ScriptValue(5);
        return true;
    case ScriptProperty::Quality:
        out = ScriptValue("HIGH");
        return true;
    case ScriptProperty::XMouse:
    case ScriptProperty::YMouse:
    {
        float x, y;
        if (!mousePosition(object, false, x, y))
            return false;
        out = ScriptValue(index == 20 ? x : y);
        return true;
    }
    }
    return false;
}

bool setDisplayProperty(DisplayObject& object, int index, const ScriptValue& value)
{
    if (index == static_cast<int>(ScriptProperty::Visible))
    {
        object.setVisible(value.toBool());
        return true;
    }
    if (index == static_cast<int>(ScriptProperty::Name))
    {
        object.setName(value.toString());
        return true;
    }
    double v;
    Matrix m = object.matrix();
    switch (static_cast<ScriptProperty>(index))
    {
    case ScriptProperty::X:
    case ScriptProperty::Y:
        if (!finiteNumber(value, v))
            return true;
        (index == 0 ? m.m02 : m.m12) = static_cast<float>(v * TwipsPerPixel);
        break;
    case ScriptProperty::XScale:
    case ScriptProperty::YScale:
        if (!finiteNumber(value, v))
            return true;
        if (index == 2)
            setColumnLength(m.m00, m.m10, v / 100.0);
        else
            setColumnLength(m.m01, m.m11, v / 100.0);
        break;
    case ScriptProperty::Rotation:
    {
        if (!finiteNumber(value, v))
            return true;
        double sx = std::hypot(m.m00, m.m10), sy = std::hypot(m.m01, m.m11);
        double r = v * Pi / 180.0;
        m.m00 = static_cast<float>(sx * std::cos(r));
        m.m10 = static_cast<float>(sx * std::sin(r));
        m.m01 = static_cast<float>(-sy * std::sin(r));
        m.m11 = static_cast<float>(sy * std::cos(r));
        break;
    }
    case ScriptProperty::Width:
    case ScriptProperty::Height:
    {
        if (!finiteNumber(value, v))
            return true;
        Rect r = parentBounds(object);
        double current = (index == 8 ? r.xmax - r.xmin : r.ymax - r.ymin) / TwipsPerPixel;
        if (!(current > 0))
            return true; // an empty object has no size to scale
        float factor = static_cast<float>(std::clamp(v / current, -Limit, Limit));
        if (index == 8)
            m.m00 *= factor, m.m01 *= factor;
        else
            m.m10 *= factor, m.m11 *= factor;
        break;
    }
    case ScriptProperty::Alpha:
    {
        if (!finiteNumber(value, v))
            return true;
        if (auto* field = dynamic_cast<TextField*>(&object))
        {
            field->setAlphaPercent(v);
            return true;
        }
        ColorTransform c = object.colorTransform();
        c.aMul = static_cast<float>(v / 100.0);
        object.setColorTransform(c);
        return true;
    }
    default:
        // The other properties are read-only; the index is valid, so the write is simply ignored.
        return index >= 0 && index < ScriptPropertyCount;
    }
    object.setMatrix(m);
    return true;
}

bool getDisplayMember(DisplayObject& object, const std::string& name, ScriptValue& out)
{
    if (auto* field = dynamic_cast<TextField*>(&object))
    {
        if (name == "text")
        {
            out = ScriptValue(field->text());
            return true;
        }
        if (name == "textColor")
        {
            out = ScriptValue(static_cast<double>(field->textColor()));
            return true;
        }
        if (name == "_alpha")
        {
            out = ScriptValue(field->alphaPercent());
            return true;
        }
    }
    if (name == "_parent")
    {
        out = ScriptValue(scriptObjectFor(object.parent()));
        return true;
    }
    int index = scriptPropertyIndex(name);
    return index >= 0 && getDisplayProperty(object, index, out);
}

bool setDisplayMember(DisplayObject& object, const std::string& name, const ScriptValue& value)
{
    if (auto* field = dynamic_cast<TextField*>(&object))
    {
        if (name == "text")
        {
            field->setText(value.toString());
            return true;
        }
        if (name == "textColor")
        {
            field->setTextColor(static_cast<uint32_t>(value.toInt32()) & 0xFFFFFFu);
            return true;
        }
    }
    if (name == "_parent")
        return true; // read-only
    int index = scriptPropertyIndex(name);
    return index >= 0 && setDisplayProperty(object, index, value);
}

bool DisplayScriptObject::textValue(std::string& out) const
{
    if (auto* field = dynamic_cast<TextField*>(display.get()))
    {
        out = field->text();
        return true;
    }
    return false;
}

} // namespace swf

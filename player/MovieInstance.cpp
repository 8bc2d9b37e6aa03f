#include "player/MovieInstance.h"

#include "player/MovieDefinition.h"
#include "player/ShapeRenderer.h"
#include "player/SpriteInstance.h"

#include <algorithm>
#include <cmath>

namespace swf
{

MovieInstance::MovieInstance(Ref<MovieDefinition> definition)
    : def(std::move(definition)), objects(std::make_shared<int>(0))
{
    rootObject = makeRef<SpriteInstance>(Ref<TimelineDefinition>(def.get()), nullptr, -1);
    rootObject->setName("_root");
    rootObject->setMovieInstance(this);
    rootObject->setObjectCounter(objects);
    viewWidth = def->widthPixels();
    viewHeight = def->heightPixels();
}

MovieInstance::~MovieInstance()
{
    // Scripts may still hold the root; it must not reach back into a dead movie.
    rootObject->setMovieInstance(nullptr);
    rootObject->displayList().clear();
}

int MovieInstance::currentFrame() const
{
    return rootObject->currentFrame();
}

bool MovieInstance::hasLooped() const
{
    return rootObject->hasLooped();
}

void MovieInstance::restart()
{
    rootObject->restart();
}

void MovieInstance::advance(float seconds)
{
    if (!onLoadDone)
    {
        onLoadDone = true;
        rootObject->load();
    }
    if (std::isfinite(seconds))
        timeCounter += seconds;
    rootObject->advance(seconds);
}

void MovieInstance::gotoFrame(int frame)
{
    rootObject->gotoFrame(frame);
}

bool MovieInstance::gotoLabeledFrame(const std::string& label)
{
    return rootObject->gotoLabeledFrame(label);
}

void MovieInstance::setPlayState(int state)
{
    rootObject->setPlayState(state == 0 ? PlayState::Play : PlayState::Stop);
}

int MovieInstance::playState() const
{
    return static_cast<int>(rootObject->playState());
}

void MovieInstance::setBackgroundAlpha(float alpha)
{
    float a = std::clamp(std::isfinite(alpha) ? alpha : 1.0f, 0.0f, 1.0f);
    background.a = static_cast<uint8_t>(a * 255.0f + 0.5f);
}

void MovieInstance::setViewport(int x, int y, int width, int height)
{
    viewX = x;
    viewY = y;
    viewWidth = width;
    viewHeight = height;
}

void MovieInstance::setMouseState(int x, int y, int buttons)
{
    mousePosX = x;
    mousePosY = y;
    buttonsDown = buttons;
}

Matrix MovieInstance::displayMatrix() const
{
    const Rect& r = def->frameRect();
    float fw = std::max(r.xmax - r.xmin, 1.0f);
    float fh = std::max(r.ymax - r.ymin, 1.0f);
    Matrix m;
    m.m00 = viewWidth / fw;
    m.m11 = viewHeight / fh;
    m.m02 = viewX - m.m00 * r.xmin;
    m.m12 = viewY - m.m11 * r.ymin;
    return m;
}

void MovieInstance::display(cairo_t* cr)
{
    if (!cr || !rootObject->visible())
        return;
    RenderContext context;
    context.cr = cr;
    context.displayMatrix = displayMatrix();
    rootObject->display(context);
}

} // namespace swf

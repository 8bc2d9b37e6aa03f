#include "game/Block.h"

#include "app/Application.h"

namespace
{

// Indexed by the colour codes 0..4.
const char* const WellPictures[BlockColourCount] = {
    "Data/Graphics/Blocks/Red.swf",    "Data/Graphics/Blocks/Orange.swf", "Data/Graphics/Blocks/Blue.swf",
    "Data/Graphics/Blocks/Purple.swf", "Data/Graphics/Blocks/Green.swf",
};
const char* const QueuePictures[BlockColourCount] = {
    "Data/Graphics/Blocks/RedQueue.swf",   "Data/Graphics/Blocks/OrangeQueue.swf",
    "Data/Graphics/Blocks/BlueQueue.swf",  "Data/Graphics/Blocks/PurpleQueue.swf",
    "Data/Graphics/Blocks/GreenQueue.swf",
};

// Re-arms a sprite whose frames were released, so its next draw renders
// them again.
void Rearm(Sprite& sprite)
{
    if (!sprite.GetMovie().empty())
        sprite.SetMovie(sprite.GetMovie());
}

} // namespace

Block::Block()
{
    // An Empty block keeps the Red picture, hidden, so that the first colour
    // it takes only has to show it.
    picture.SetMovie(WellPictures[0]);
    dim.SetMovie(DimMoviePath);
    warn.SetMovie(WarningMoviePath);
}

const char* Block::PicturePath(BlockType type, bool queueLook)
{
    if (IsBlockColour(type))
    {
        const int index = static_cast<int>(type);
        return queueLook ? QueuePictures[index] : WellPictures[index];
    }
    if (type == BlockType::Wild)
        return queueLook ? "Data/Graphics/Blocks/WildQueue.swf" : "Data/Graphics/Blocks/Wild.swf";
    return nullptr;
}

double Block::Now()
{
    return Application::Get().time;
}

void Block::SetType(BlockType code)
{
    if (code != type)
    {
        pictureShown = true;
        if (const char* path = PicturePath(code, isQueueBlock))
        {
            picture.SetMovie(path);
        }
        else if (code == BlockType::Empty)
        {
            picture.SetMovie(PicturePath(BlockType::Red, isQueueBlock));
            pictureShown = false;
        }
        // Code 5 and unknown codes keep the picture they had.
        type = code;
    }
    InvalidateRect();
}

void Block::SetQueueLook(bool flag)
{
    isQueueBlock = flag;
    SetType(type);
}

void Block::SetClearing(bool flag)
{
    if (flag)
        clearStart = Now();
    clearing = flag;
    InvalidateRect();
}

void Block::SetWarning(bool flag)
{
    if (flag)
        warningToggled = Now();
    else
        warningVisible = false;
    warning = flag;
    InvalidateRect();
}

void Block::SetFalling(bool flag)
{
    if (flag)
    {
        fallStart = Now();
        fallFromX = x;
        fallFromY = y;
    }
    falling = flag;
}

void Block::ResetStates()
{
    SetFalling(false);
    SetClearing(false);
    SetMarked(false);
    SetWarning(false);
}

void Block::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    picture.SetPosition(newX, newY);
    dim.SetPosition(newX, newY);
    warn.SetPosition(newX, newY);
}

void Block::SetSize(int w, int h)
{
    if (w != width || h != height)
        sizeChanged = true;
    Control::SetSize(w, h);
    picture.SetSize(w, h);
    dim.SetSize(w, h);
    warn.SetSize(w, h);
}

void Block::Load()
{
    // The sprites render their own frames on their first draw at the new
    // size; nothing else is built here.
    sizeChanged = false;
}

bool Block::Draw(Application& app)
{
    if (!Control::Draw(app))
        return false;
    if (pictureShown)
        picture.Draw(app);
    if (IsDimShown())
        dim.Draw(app);
    if (warningVisible)
        warn.Draw(app);
    return true;
}

void Block::Update()
{
    if (warning && Now() - warningToggled > WarningBlinkSeconds)
    {
        warningVisible = !warningVisible;
        warningToggled = Now();
        InvalidateRect();
    }
    if (!hidden && pictureShown)
        picture.Update();
}

void Block::Release()
{
    picture.Release();
    dim.Release();
    warn.Release();
    Rearm(picture);
    Rearm(dim);
    Rearm(warn);
    needsLoad = true;
}

#include "screens/PuzzlePreview.h"

#include "engine/Layout.h"

namespace
{

constexpr const char* BackgroundMovie = "Data/Graphics/PuzzleLevelSelect/PreviewBackground.swf";
constexpr const char* BackgroundOverMovie = "Data/Graphics/PuzzleLevelSelect/PreviewBackgroundMouseOver.swf";

} // namespace

PuzzlePreview::PuzzlePreview()
{
    background.SetMovie(BackgroundMovie);
    backgroundOver.SetMovie(BackgroundOverMovie);
}

void PuzzlePreview::LoadSounds()
{
    (void)highlightSound.Set("Data/Sounds/ButtonHighlight");
    (void)pressSound.Set("Data/Sounds/ButtonPress");
}

void PuzzlePreview::SetPuzzle(const std::string& puzzlePath, const PuzzleCells& cells)
{
    path = puzzlePath;
    for (size_t i = 0; i < blocks.size(); ++i)
    {
        blocks[i].SetType(BlockType::Empty);
        blocks[i].SetType(cells[i]);
    }
    InvalidateRect();
}

void PuzzlePreview::SetPosition(int newX, int newY)
{
    Control::SetPosition(newX, newY);
    background.SetPosition(newX, newY);
    backgroundOver.SetPosition(newX, newY);
    PlaceBlocks();
}

void PuzzlePreview::SetSize(int w, int h)
{
    Control::SetSize(w, h);
    background.SetSize(w, h);
    backgroundOver.SetSize(w, h);
    PlaceBlocks();
}

// Cells of w x 0.88 / 6 by h x 0.9375 / 10, the grid centred on the preview.
void PuzzlePreview::PlaceBlocks()
{
    const int cellWidth = FractionOfDouble(width, 0.88 / PuzzleColumns);
    const int cellHeight = FractionOfDouble(height, 0.9375 / PuzzleRows);
    const int left = x + (width - PuzzleColumns * cellWidth) / 2;
    const int top = y + (height - PuzzleRows * cellHeight) / 2;
    for (int row = 0; row < PuzzleRows; ++row)
    {
        for (int column = 0; column < PuzzleColumns; ++column)
        {
            Block& block = blocks[static_cast<size_t>(row * PuzzleColumns + column)];
            block.SetSize(cellWidth, cellHeight);
            block.SetPosition(left + column * cellWidth, top + row * cellHeight);
        }
    }
}

void PuzzlePreview::OnMouseDown(int px, int py)
{
    (void)px;
    (void)py;
    Press();
}

void PuzzlePreview::Press()
{
    pressSound.Play();
    if (onPress)
        onPress(*this);
}

void PuzzlePreview::OnMouseEnter()
{
    Control::OnMouseEnter();
    highlightSound.Play();
}

void PuzzlePreview::SetFocused(bool value)
{
    if (value == focused)
        return;
    focused = value;
    if (value)
        highlightSound.Play();
    InvalidateRect();
}

bool PuzzlePreview::Activate()
{
    Press();
    return true;
}

void PuzzlePreview::Load() {}

bool PuzzlePreview::Draw(Application& app)
{
    if (!Control::Draw(app))
        return false;
    (mouseOver || focused ? backgroundOver : background).Draw(app);
    for (Block& block : blocks)
        block.Draw(app);
    return true;
}

void PuzzlePreview::Release()
{
    background.Release();
    backgroundOver.Release();
    background.SetMovie(BackgroundMovie);
    backgroundOver.SetMovie(BackgroundOverMovie);
    for (Block& block : blocks)
        block.Release();
    needsLoad = true;
}

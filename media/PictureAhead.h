#pragma once

#include <deque>
#include <string>
#include <vector>

class Bitmap;

// Pictures the next screen will show, rendered ahead one at a time while the
// game has nothing else to do, and held in the BitmapCache until that screen
// has taken them: a screen that leads to a heavy one (the level choices before
// play) asks for its pictures, so entering it finds them ready.
//
// A screen switch retires what is held; the retired pictures are given back
// once the new screen has drawn (and so taken its own references), and a
// request not rendered by then is dropped.
class PictureAhead
{
  public:
    static PictureAhead& Get();
    static void Destroy();

    PictureAhead() = default;
    virtual ~PictureAhead();
    PictureAhead(const PictureAhead&) = delete;
    PictureAhead& operator=(const PictureAhead&) = delete;

    // Queues frame `frame` of the movie at width x height. Empty paths and
    // sizes below one pixel are ignored.
    void Request(const std::string& path, int width, int height, int frame);
    // Renders the oldest queued picture; false when none was waiting.
    bool Step();
    [[nodiscard]] bool Pending() const { return !queue.empty(); }
    [[nodiscard]] size_t Held() const { return held.size() + retired.size(); }

    // At a screen switch: drops the queue; what is held is retired.
    void Retire();
    // After the new screen's first draw: gives back the retired pictures.
    void ReleaseRetired();

  private:
    struct Picture
    {
        std::string path;
        int width;
        int height;
        int frame;
    };
    static void ReleaseAll(std::vector<Bitmap*>& bitmaps);

    std::deque<Picture> queue;
    std::vector<Bitmap*> held;    // one reference each
    std::vector<Bitmap*> retired; // one reference each
};

#pragma once

class Slider;

// Told when a slider's value changes and when its shuttle is let go.
class SliderListener
{
  public:
    virtual ~SliderListener() = default;
    virtual void OnSliderChanged(Slider* slider) = 0;
    virtual void OnSliderReleased(Slider* slider) = 0;
};

// The spin button of an EditBox: an up-down control beside the box, following its place,
// visibility and enabled state, whose presses the box turns into a step or an event.
#pragma once
#include <windows.h>

#include <cstdint>

#include "forms/window_object.h"

namespace ruvelto::components {

class SpinButton : public forms::WindowObject {
public:
    // What the box does with a press: +1 up, -1 down.
    class Owner {
    public:
        virtual void OnSpin(int direction) = 0;

    protected:
        ~Owner() = default;
    };

    // Creates the control as a sibling of `box` (same parent) with the given control id; null
    // when it cannot be made.
    static SpinButton* Create(HWND box, Owner* owner, uint32_t controlId, bool staticEdge);

    // The range, with the smaller bound as the lower.
    void SetRange(int32_t a, int32_t b);
    void SetStaticEdge(bool on);
    // Directly right of the box, 18 pixels wide, as high as it, directly above it in z-order,
    // shown, hidden, enabled or disabled with it.
    void FollowBox(HWND box);
    // Destroys the control; the object deletes itself.
    void Destroy();

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void PostNcDestroy() override { delete this; }

private:
    explicit SpinButton(Owner* owner) : owner_(owner) {}
    Owner* owner_;
};

}  // namespace ruvelto::components

#pragma once
// Told of every click on a tab of a CColorTabCtrl, also on the selected one.

class ITabStripListener {
public:
    virtual void OnTabClicked(int controlId, int index) = 0;

protected:
    ~ITabStripListener() = default;
};

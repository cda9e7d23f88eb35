#include "viewer/thumb_pager.h"

#include <algorithm>

void ThumbPager::reset(int count)
{
    count_ = std::max(0, count);
    showPage(0);
}

void ThumbPager::showPage(int page)
{
    const int last = count_ > 0 ? (count_ - 1) / kPlaces : 0;
    ThumbPage = std::clamp(page, 0, last);
    for (int i = 0; i < kPlaces; ++i) {
        const int position = ThumbPage * kPlaces + i;
        places_[i] = position < count_ ? position : -1;
    }
}

int ThumbPager::positionAt(int place) const
{
    if (place < 0 || place >= kPlaces)
        return -1;
    return places_[place];
}

void ThumbPager::removePosition(int position)
{
    if (position < 0 || position >= count_)
        return;
    --count_;
    for (int &p : places_) {
        if (p == position)
            p = -1;
        else if (p > position)
            --p;
    }
}

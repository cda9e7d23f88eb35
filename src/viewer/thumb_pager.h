#pragma once

#include <array>

// Which list position each of the 56 thumbnail places shows. Page p shows
// positions p * 56 ... p * 56 + 55; places past the end of the list are empty (-1).
class ThumbPager {
public:
    static constexpr int kPlaces = 56;
    static constexpr int kPerRow = 8;

    // A list of count entries, showing page 0.
    void reset(int count);
    void showPage(int page);
    void next() { showPage(ThumbPage + 1); }
    void previous() { showPage(ThumbPage - 1); }

    int page() const { return ThumbPage; }
    int count() const { return count_; }
    bool canGoBack() const { return ThumbPage > 0; }
    // ">" is off once the page's last place reaches the end of the list.
    bool canGoForward() const { return (ThumbPage + 1) * kPlaces < count_; }

    // The list position shown in place i, or -1 when the place is empty.
    int positionAt(int place) const;

    // Position k left the list: its place empties, and places showing later
    // positions keep their pictures but now stand for one position less, so a
    // click still selects the picture it shows.
    void removePosition(int position);

private:
    int ThumbPage = 0;
    int count_ = 0;
    std::array<int, kPlaces> places_ {};
};

#pragma once

// Options the options dialog stores that JobSettings does not carry.
struct StoredOptions {
    int iSlideTime = 3;
    int bShowToday = 1;
    int bNewVer = 0; // as confirmed earlier in this run
};

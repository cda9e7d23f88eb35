// Times every effect preset operation and every rotation on a 12-megapixel
// picture and prints megapixels per second (best of several runs).
#include "core/cdib.h"
#include "core/rotation.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRuns = 5;
constexpr double kMegapixels = kWidth * double(kHeight) / 1e6;

std::vector<std::uint32_t> makePicture()
{
    std::vector<std::uint32_t> pixels(std::size_t(kWidth) * kHeight);
    std::uint32_t state = 12345;
    for (auto &p : pixels) {
        state = state * 1664525u + 1013904223u;
        p = 0xff000000u | (state >> 8);
    }
    return pixels;
}

// Best time of kRuns; prepare runs before each timed run and is not timed.
double bestSeconds(const std::function<void()> &prepare, const std::function<void()> &work)
{
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    return best;
}

void report(const char *name, double seconds)
{
    std::printf("%-28s %8.1f ms %9.1f MP/s\n", name, seconds * 1e3, kMegapixels / seconds);
}

} // namespace

int main()
{
    const std::vector<std::uint32_t> pixels = makePicture();
    const Rgb32View picture {pixels.data(), kWidth, kHeight, kWidth};
    std::printf("%d x %d (%.1f MP), best of %d runs\n", kWidth, kHeight, kMegapixels, kRuns);

    CDIB dib;
    const struct {
        const char *name;
        std::function<void(CDIB &)> run;
    } effects[] = {
        {"FastBlur",
            [](CDIB &d) {
                d.FastBlur();
            }},
        {"Sharpen",
            [](CDIB &d) {
                d.Sharpen();
            }},
        {"Flame",
            [](CDIB &d) {
                d.Flame();
            }},
        {"PurpleStain",
            [](CDIB &d) {
                d.PurpleStain();
            }},
        {"Brown",
            [](CDIB &d) {
                d.Brown();
            }},
        {"NightShade",
            [](CDIB &d) {
                d.NightShade();
            }},
        {"Spooky",
            [](CDIB &d) {
                d.Spooky();
            }},
        {"ScanLines(50)",
            [](CDIB &d) {
                d.ScanLines(50);
            }},
        {"MakeEmboss(100)",
            [](CDIB &d) {
                d.MakeEmboss(100, false, EmbossTone::Colour);
            }},
        {"MakeEmboss grey diagonal",
            [](CDIB &d) {
                d.MakeEmboss(100, true, EmbossTone::Grey);
            }},
        {"Greyscale",
            [](CDIB &d) {
                d.Greyscale();
            }},
        {"Monochrome(128)",
            [](CDIB &d) {
                d.Monochrome(128);
            }},
        {"InvertColors",
            [](CDIB &d) {
                d.InvertColors();
            }},
        {"Brightness(40)",
            [](CDIB &d) {
                d.Brightness(40);
            }},
    };
    for (const auto &effect : effects)
        report(effect.name, bestSeconds([&] { dib.Clone(picture, true); }, [&] { effect.run(dib); }));

    report("surface -> buffer (Clone)", bestSeconds([] {}, [&] { dib.Clone(picture, true); }));
    std::vector<std::uint32_t> out(pixels.size());
    report("buffer -> surface (PaintTo)",
        bestSeconds([] {},
            [&] {
                dib.PaintTo(MutableRgb32View {out.data(), kWidth, kHeight, kWidth}, 0, 0);
            }));

    const struct {
        const char *name;
        Turn turn;
    } turns[] = {
        {"quarter turn clockwise", Turn::Clockwise},
        {"quarter turn counter-cw", Turn::CounterClockwise},
        {"half turn", Turn::HalfTurn},
        {"mirror top-bottom", Turn::FlipTopBottom},
        {"mirror left-right", Turn::FlipLeftRight},
    };
    for (const auto &t : turns) {
        const int w = swapsSides(t.turn) ? kHeight : kWidth;
        const int h = swapsSides(t.turn) ? kWidth : kHeight;
        report(t.name,
            bestSeconds([] {},
                [&] {
                    RotatePicture(t.turn, picture, MutableRgb32View {out.data(), w, h, w});
                }));
    }
    return 0;
}

// Preview redraw time on one photo: the first draw decodes, later draws after a
// setting change take the decoded source from PreviewSourceCache.
#include "render/pipeline.h"
#include "render/preview_source_cache.h"

#include <QElapsedTimer>
#include <QGuiApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

// CPU time of this thread, ms: the machine may be busy with other work.
static double cpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static double medianOf(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PHOTO [WIDTH]\n", argv[0]);
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    JobSettings job;
    job.iTargetW = argc > 2 ? std::atoi(argv[2]) : 800;
    job.bTextMark = std::getenv("BENCH_NO_TEXT") ? 0 : 1;
    job.sText = QStringLiteral("Tuvo 2026 样张");

    PreviewSourceCache cache;
    QElapsedTimer timer;
    timer.start();
    RenderResult r = funImgDone(job, path, &cache);
    const double first = timer.nsecsElapsed() / 1e6;
    if (!r.ok()) {
        std::fprintf(stderr, "cannot draw %s\n", argv[1]);
        return 1;
    }
    std::vector<double> cached, uncached, cachedCpu, uncachedCpu;
    for (int i = 0; i < 15; ++i) {
        job.sngColorMatrix[0][0] = i % 2 ? 0.9f : 1.0f; // a setting change: red gain
        if (std::getenv("BENCH_TEXT_CHANGES"))
            job.sText = QStringLiteral("Tuvo 样张 %1").arg(i);
        timer.restart();
        double cpu = cpuMs();
        r = funImgDone(job, path, &cache);
        cached.push_back(timer.nsecsElapsed() / 1e6);
        cachedCpu.push_back(cpuMs() - cpu);
        timer.restart();
        cpu = cpuMs();
        r = funImgDone(job, path);
        uncached.push_back(timer.nsecsElapsed() / 1e6);
        uncachedCpu.push_back(cpuMs() - cpu);
    }
    std::printf("preview of %s at width %d: first draw %.1f ms; after a setting change %.1f ms (CPU %.1f ms) "
                "with PreviewSourceCache, %.1f ms (CPU %.1f ms) decoding again; medians of 15\n",
        argv[1], int(job.iTargetW), first, medianOf(cached), medianOf(cachedCpu), medianOf(uncached),
        medianOf(uncachedCpu));
    return 0;
}

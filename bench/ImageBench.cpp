// Times the image library's avatar path inside one process (so that Wine's start
// is not counted): decode, resample to 150 x 150, encode.
//   image_bench <photo.jpg> <alpha.png> <list of suite files> <output folder> <rounds>
// Prints "ours <operation> <milliseconds>", the best of the rounds.
#include "PixImage.h"
#include <stdio.h>
#include <string>
#include <vector>
#include <windows.h>

namespace
{
double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * t.QuadPart / freq.QuadPart;
}

std::wstring Widen(const std::string& s)
{
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n ? n - 1 : 0, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), -1, &w[0], n);
    return w;
}

struct Times
{
    double decode = 1e30, resample = 1e30, encode = 1e30;
    void Keep(double d, double r, double e)
    {
        decode = d < decode ? d : decode;
        resample = r < resample ? r : resample;
        encode = e < encode ? e : encode;
    }
};

// One pass over the files: decode each, resample it to 150 x 150, encode it.
bool Pass(const std::vector<std::wstring>& files, const std::wstring& outDir, DWORD outType, Times& best)
{
    double d = 0, r = 0, e = 0;
    int i = 0;
    for (const std::wstring& f : files)
    {
        CPixImage ima;
        double t0 = Now();
        if (!ima.Load(f.c_str(), 0))
        {
            fprintf(stderr, "cannot load %ls: %s\n", f.c_str(), ima.GetErrorText());
            return false;
        }
        double t1 = Now();
        if (!ima.Resample(150, 150, 4, 5))
            return false;
        double t2 = Now();
        std::wstring out = outDir + L"\\bench" + std::to_wstring(i++) + (outType == 3 ? L".jpg" : L".png");
        if (!ima.Save(out.c_str(), outType))
        {
            fprintf(stderr, "cannot save %ls: %s\n", out.c_str(), ima.GetErrorText());
            return false;
        }
        double t3 = Now();
        if (getenv("IMAGE_BENCH_VERBOSE"))
            printf("  %ls %ldx%ld/%d: %.2f %.2f %.2f\n", f.c_str(), (long)ima.GetWidth(), (long)ima.GetHeight(),
                   ima.GetBpp(), t1 - t0, t2 - t1, t3 - t2);
        d += t1 - t0;
        r += t2 - t1;
        e += t3 - t2;
    }
    best.Keep(d, r, e);
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 6)
    {
        fprintf(stderr, "usage: image_bench <photo.jpg> <alpha.png> <suite list> <output folder> <rounds>\n");
        return 2;
    }
    std::wstring outDir = Widen(argv[4]);
    int rounds = atoi(argv[5]);
    std::vector<std::wstring> suite;
    FILE* list = fopen(argv[3], "r");
    if (!list)
        return 2;
    char line[2048];
    while (fgets(line, sizeof(line), list))
    {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        if (!s.empty())
            suite.push_back(Widen(s));
    }
    fclose(list);

    struct Job
    {
        const char* name;
        std::vector<std::wstring> files;
        DWORD outType;
        Times best;
    } jobs[] = {{"jpeg", {Widen(argv[1])}, 3, {}}, {"png", {Widen(argv[2])}, 4, {}}, {"suite", suite, 4, {}}};
    for (Job& job : jobs)
    {
        for (int k = 0; k < rounds; k++)
        {
            if (!Pass(job.files, outDir, job.outType, job.best))
                return 1;
        }
        printf("ours %s.decode %.2f\n", job.name, job.best.decode);
        printf("ours %s.resample %.2f\n", job.name, job.best.resample);
        printf("ours %s.encode %.2f\n", job.name, job.best.encode);
        fflush(stdout);
    }
    return 0;
}

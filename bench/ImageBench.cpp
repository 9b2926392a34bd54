// Times the image library's avatar path inside one process (so that Wine's start
// is not counted): decode, resample to 150 x 150 (area averaging, as for every
// shrinking), encode.
//   image_bench <photo.jpg> <alpha.png> <list of suite files> <output folder> <rounds>
// After one warm-up pass per job, prints "ours <operation> <min> <median> <max>"
// in milliseconds over the rounds. The outputs of the last round stay in the
// output folder as bench<job>_<n>.jpg or .png, so that the reference can encode
// the same pictures at the same depth.
#include "PixImage.h"
#include <algorithm>
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

struct Spread
{
    std::vector<double> rounds;
    void Print(const char* job, const char* stage)
    {
        std::sort(rounds.begin(), rounds.end());
        printf("ours %s.%s %.2f %.2f %.2f\n", job, stage, rounds.front(), rounds[rounds.size() / 2], rounds.back());
    }
};

struct Job
{
    const char* name;
    std::vector<std::wstring> files;
    DWORD outType;
    Spread decode, resample, encode;
};

// One pass over the job's files: decode each, resample it to 150 x 150, encode it.
bool Pass(Job& job, const std::wstring& outDir, bool counted)
{
    double d = 0, r = 0, e = 0;
    int i = 0;
    for (const std::wstring& f : job.files)
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
        std::wstring out = outDir + L"\\bench" + Widen(job.name) + L"_" + std::to_wstring(i++) +
                           (job.outType == PIXIMAGE_FORMAT_JPG ? L".jpg" : L".png");
        if (!ima.Save(out.c_str(), job.outType))
        {
            fprintf(stderr, "cannot save %ls: %s\n", out.c_str(), ima.GetErrorText());
            return false;
        }
        double t3 = Now();
        d += t1 - t0;
        r += t2 - t1;
        e += t3 - t2;
    }
    if (counted)
    {
        job.decode.rounds.push_back(d);
        job.resample.rounds.push_back(r);
        job.encode.rounds.push_back(e);
    }
    return true;
}

std::vector<std::wstring> ReadList(const char* path)
{
    std::vector<std::wstring> files;
    FILE* list = fopen(path, "r");
    if (!list)
        return files;
    char line[2048];
    while (fgets(line, sizeof(line), list))
    {
        std::string s(line);
        while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
            s.pop_back();
        if (!s.empty())
            files.push_back(Widen(s));
    }
    fclose(list);
    return files;
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
    std::vector<std::wstring> suite = ReadList(argv[3]);
    if (rounds < 1 || suite.empty())
        return 2;

    Job jobs[] = {{"jpeg", {Widen(argv[1])}, PIXIMAGE_FORMAT_JPG, {}, {}, {}},
                  {"png", {Widen(argv[2])}, PIXIMAGE_FORMAT_PNG, {}, {}, {}},
                  {"suite", suite, PIXIMAGE_FORMAT_PNG, {}, {}, {}}};
    for (Job& job : jobs)
    {
        for (int k = 0; k <= rounds; k++)
        {
            if (!Pass(job, outDir, k > 0))
                return 1;
        }
        job.decode.Print(job.name, "decode");
        job.resample.Print(job.name, "resample");
        job.encode.Print(job.name, "encode");
        fflush(stdout);
    }
    return 0;
}

#pragma once
#ifdef SONATREL_EXPORTS
#define SONATREL_API __declspec(dllexport)
#else
#define SONATREL_API __declspec(dllimport)
#endif

// Version of the player library, for a quick link check.
extern "C" SONATREL_API int SonatrelVersion();

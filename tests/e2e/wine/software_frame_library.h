#pragma once
// The software surface in a DLL of its own: its functions have the same names
// as the GDI surface's, so the two can meet in one test program only across a
// module boundary. The DLL holds its own copy of the core and the model.

#include <cstdint>

#ifdef QUADRAFALL_BUILDING_SOFTWARE_FRAME
#define SOFTWARE_FRAME_API extern "C" __declspec(dllexport)
#else
#define SOFTWARE_FRAME_API extern "C" __declspec(dllimport)
#endif

// Builds scenario (a ModelScenario) in the DLL's model and composes its frame
// into pixels, 291 x 384 values of 0x00BBGGRR, row by row.
SOFTWARE_FRAME_API void RenderScenarioWithSoftwareSurface(int scenario, uint32_t* pixels);

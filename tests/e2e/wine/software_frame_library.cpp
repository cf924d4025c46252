#define QUADRAFALL_BUILDING_SOFTWARE_FRAME
#include "software_frame_library.h"

#include "model_scenarios.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"

void RenderScenarioWithSoftwareSurface(int scenario, uint32_t* pixels) {
    BuildModelScenario(static_cast<ModelScenario>(scenario));
    Surface target = {pixels, ClientWidth, ClientHeight};
    RenderFrame(&target);
    ReleaseModel();
}

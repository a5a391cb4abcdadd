#pragma once
// The demo's 4DS models: the harbour town's world, a bare field for the broken
// mission, and the models that placed things name from the models folder.

#include "tools/demo/FourDsWriter.h"

#include <string>
#include <vector>

namespace demo {

struct NamedModel {
    std::string fileName;  // as stored in the models folder
    FourDsModelData model;
};

// The world of the main mission: ground, roads, houses with roofs, a tower, a
// warehouse, sector and dummy frames.
FourDsModelData HarbourTownWorld();
// A plain textured field.
FourDsModelData FieldWorld();
// The models of the models folder.
std::vector<NamedModel> DemoThingModels();

// Shared by the demo and the scaled benchmark mission.
FourDsMaterial TexturedMaterial(std::string diffuse);
FourDsFrame VisualFrame(std::string name, std::uint16_t parent, Vector3 position, std::vector<FourDsLod> lods);
FourDsFrame DummyFrame(std::string name, std::uint16_t parent, Vector3 position, BoundingBox box);
// A sector frame whose geometry is the box min..max, with one four-cornered portal
// in each of the given x positions.
FourDsFrame BoxSector(std::string name, std::uint16_t parent, const Vector3& min, const Vector3& max,
                      const std::vector<float>& portalsAtX);

}  // namespace demo

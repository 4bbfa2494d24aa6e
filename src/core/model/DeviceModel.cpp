#include "model/DeviceModel.h"

namespace
{
struct Row {
    int model;
    DeviceModelTraits traits;
};

// Models not listed behave as the default row.
constexpr Row kModels[] = {
    //  model  reversed lowFirst newestFirst gap  byId
    {1, {true, false, true, 6, true}},  {2, {false, false, false, 9, true}},  {3, {true, true, true, 6, false}},
    {4, {true, false, true, 6, false}}, {11, {false, false, true, 9, false}}, {14, {false, false, false, 9, true}},
};
} // namespace

DeviceModelTraits TraitsOfModel(int model)
{
    for (const Row &row : kModels) {
        if (row.model == model)
            return row.traits;
    }
    return {};
}

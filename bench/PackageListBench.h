#pragma once

namespace velmora {

// Times opening a folder of 10,000 packages against reading their bytes; 0 when within the allowed ratio.
int CheckPackageListRatio();

}  // namespace velmora

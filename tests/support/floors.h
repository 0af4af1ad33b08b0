// floors.h - the tests reach into every floor, so they see the floors'
// namespaces whole instead of spelling each name's floor.
#pragma once

namespace gridel::text {}
namespace gridel::run {}
namespace gridel::diagram {}
namespace gridel::geometry {}
namespace gridel::drawing {}
namespace gridel::driver {}

using namespace gridel::text;
using namespace gridel::run;
using namespace gridel::diagram;
using namespace gridel::geometry;
using namespace gridel::drawing;
using namespace gridel::driver;

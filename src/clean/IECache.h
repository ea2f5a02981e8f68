#pragma once
// The walk over the browser's URL cache that the Internet Explorer target runs.

#include "core/platform/UrlCache.h"

namespace quorvane {

// Deletes every cache entry whose type carries the normal-entry bit; cookies, history and
// other entries without it stay. One entry block is held at a time, so memory does not grow
// with the size of the cache. Failures end the walk quietly.
void DeleteCacheURLList(UrlCache& cache);

}  // namespace quorvane

// Where embedded resources (the PNG pictures named by CResourceDescription) come from.
#pragma once

#include <cstddef>
#include <cstdint>

namespace VSTGUI {
namespace Platform {

struct ResourceBytes
{
	const uint8_t* data {nullptr};
	size_t size {0};
};

/** The bytes of the embedded resource with integer id (the module's compiled-in resources,
    see platform/ModuleResources.h); empty when there is none. UI thread. */
ResourceBytes findResourceBytes (int32_t id);

using ResourceFinder = ResourceBytes (*) (int32_t id);
/** Replaces the look-up (null restores the built-in one). Used by tests. */
void setResourceFinder (ResourceFinder finder);

} // namespace Platform
} // namespace VSTGUI

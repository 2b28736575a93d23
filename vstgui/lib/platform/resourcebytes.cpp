#include "resourcebytes.h"
#include "platform/ModuleResources.h"

namespace VSTGUI {
namespace Platform {

namespace {

// The module's compiled-in resources (the resource library linked into the module).
ResourceBytes moduleResources (int32_t id)
{
	ResourceBytes bytes;
	if (!findModuleResource (id, &bytes.data, &bytes.size))
		return {};
	return bytes;
}

ResourceFinder currentFinder = nullptr;

} // namespace

ResourceBytes findResourceBytes (int32_t id)
{
	ResourceFinder finder = currentFinder ? currentFinder : moduleResources;
	return finder (id);
}

void setResourceFinder (ResourceFinder finder)
{
	currentFinder = finder;
}

} // namespace Platform
} // namespace VSTGUI

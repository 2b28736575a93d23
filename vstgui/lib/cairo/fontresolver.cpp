#include "fontresolver.h"
#include <cairo.h>
#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <unistd.h>
#include <fontconfig/fontconfig.h>
#include <map>
#include <strings.h>

namespace VSTGUI {

namespace {

const char* const kFallbackFamily = "DejaVu Sans";

/** True when fontconfig has a font of exactly that family. */
bool familyInstalled (const std::string& name)
{
	if (name.empty () || !FcInit ())
		return false;
	FcPattern* pattern = FcNameParse (reinterpret_cast<const FcChar8*> (name.c_str ()));
	if (!pattern)
		return false;
	FcConfigSubstitute (nullptr, pattern, FcMatchPattern);
	FcDefaultSubstitute (pattern);
	FcResult result = FcResultNoMatch;
	FcPattern* match = FcFontMatch (nullptr, pattern, &result);
	bool found = false;
	if (match)
	{
		FcChar8* family = nullptr;
		for (int i = 0; FcPatternGetString (match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
		{
			if (strcasecmp (reinterpret_cast<const char*> (family), name.c_str ()) == 0)
			{
				found = true;
				break;
			}
		}
		FcPatternDestroy (match);
	}
	FcPatternDestroy (pattern);
	return found;
}

} // namespace

namespace {

/** cairo and fontconfig keep font data for the life of the process; a program that
    has this library linked in gives it back at exit, so that leak checkers see a clean
    process. Inside a plug-in module the host may still use both libraries: nothing is
    released there. */
void releaseFontCaches ()
{
	cairo_debug_reset_static_data ();
	FcFini ();
}

bool linkedIntoMainProgram ()
{
	Dl_info info {};
	if (!dladdr (reinterpret_cast<void*> (&releaseFontCaches), &info))
		return false;
	if (!info.dli_fname || !*info.dli_fname)
		return true;
	char self[PATH_MAX] = {};
	char here[PATH_MAX] = {};
	if (!realpath ("/proc/self/exe", self) || !realpath (info.dli_fname, here))
		return false;
	return std::string (self) == here;
}

} // namespace

void releaseCairoStaticDataAtExit ()
{
	static bool cleanupRegistered = false;
	if (!cleanupRegistered)
	{
		cleanupRegistered = true;
		if (linkedIntoMainProgram ())
			std::atexit (releaseFontCaches);
	}
}

const std::string& resolveFontFamily (const std::string& name)
{
	static std::map<std::string, std::string> cache;
	releaseCairoStaticDataAtExit ();
	auto it = cache.find (name);
	if (it != cache.end ())
		return it->second;
	std::string family = familyInstalled (name) ? name : std::string (kFallbackFamily);
	return cache.emplace (name, family).first->second;
}

} // namespace VSTGUI

#include "fontresolver.h"
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

const std::string& resolveFontFamily (const std::string& name)
{
	static std::map<std::string, std::string> cache;
	auto it = cache.find (name);
	if (it != cache.end ())
		return it->second;
	std::string family = familyInstalled (name) ? name : std::string (kFallbackFamily);
	return cache.emplace (name, family).first->second;
}

} // namespace VSTGUI

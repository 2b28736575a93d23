// Names a resource (an embedded picture) by integer id or by name. Value type: any thread.
#pragma once

#include "vstguibase.h"

namespace VSTGUI {

class CResourceDescription
{
public:
	enum Type : uint32_t
	{
		kIntegerType,
		kStringType,
		kUnknownType
	};

	CResourceDescription () : type (kUnknownType) { u.id = 0; }
	CResourceDescription (int32_t id) : type (kIntegerType) { u.id = id; }
	CResourceDescription (UTF8StringPtr name) : type (kStringType) { u.name = name; }

	Type type;
	union
	{
		int32_t id;
		UTF8StringPtr name;
	} u;
};

} // namespace VSTGUI

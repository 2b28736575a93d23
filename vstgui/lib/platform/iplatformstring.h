// IPlatformString: a text handed to the platform's text drawing (UTF-8 here). UI thread.
#pragma once

#include "../vstguibase.h"
#include <string>

namespace VSTGUI {

class IPlatformString : public ReferenceCounted
{
public:
	/** A new string holding a copy of the text (null gives an empty string). */
	static SharedPointer<IPlatformString> createWithUTF8String (UTF8StringPtr utf8String = nullptr)
	{
		auto s = owned (new IPlatformString);
		s->setUTF8String (utf8String);
		return s;
	}
	void setUTF8String (UTF8StringPtr utf8String) { text = utf8String ? utf8String : ""; }
	UTF8StringPtr getUTF8String () const { return text.c_str (); }

private:
	std::string text;
};

} // namespace VSTGUI

// Base types of the GUI library: integer and string types, reference counting,
// the shared pointer and the base object with its message notification.
#pragma once

#include <cstdint>
#include <utility>

namespace VSTGUI {

using CCoord = double;
using IdStringPtr = const char*;
using UTF8StringPtr = const char*;
using UTF8StringBuffer = char*;

/** Answer of CBaseObject::notify. */
enum CMessageResult
{
	kMessageUnknown = 0,
	kMessageNotified = 1
};

//------------------------------------------------------------------------
/** Interface of reference-counted objects. Any thread that owns the object. */
class IReference
{
public:
	virtual ~IReference () noexcept = default;
	/** Takes one more reference. */
	virtual void remember () = 0;
	/** Gives one reference back; the object deletes itself at zero. */
	virtual void forget () = 0;
	/** Number of references held now. */
	virtual int32_t getNbReference () const = 0;
};

//------------------------------------------------------------------------
/** Plain (not thread-safe) reference count; a new object starts at 1. */
class ReferenceCounted : public IReference
{
public:
	ReferenceCounted () = default;
	ReferenceCounted (const ReferenceCounted&) : IReference (), nbReference (1) {}
	ReferenceCounted& operator= (const ReferenceCounted&) { return *this; }

	void remember () override { ++nbReference; }
	void forget () override
	{
		if (--nbReference == 0)
			delete this;
	}
	int32_t getNbReference () const override { return nbReference; }

private:
	int32_t nbReference {1};
};

//------------------------------------------------------------------------
/** Holds one reference on a reference-counted object. UI thread. */
template <class T>
class SharedPointer
{
public:
	SharedPointer () noexcept = default;
	/** Takes a new reference unless remember is false (then adopts one). */
	SharedPointer (T* p, bool remember = true) noexcept : ptr (p)
	{
		if (ptr && remember)
			ptr->remember ();
	}
	SharedPointer (const SharedPointer& o) noexcept : SharedPointer (o.ptr) {}
	SharedPointer (SharedPointer&& o) noexcept : ptr (o.ptr) { o.ptr = nullptr; }
	template <class U>
	SharedPointer (const SharedPointer<U>& o) noexcept : SharedPointer (o.get ()) {}
	~SharedPointer () noexcept
	{
		if (ptr)
			ptr->forget ();
	}

	SharedPointer& operator= (T* p) noexcept
	{
		if (p != ptr)
		{
			if (p)
				p->remember ();
			T* old = ptr;
			ptr = p;
			if (old)
				old->forget ();
		}
		return *this;
	}
	SharedPointer& operator= (const SharedPointer& o) noexcept { return *this = o.ptr; }
	template <class U>
	SharedPointer& operator= (const SharedPointer<U>& o) noexcept
	{
		return *this = static_cast<T*> (o.get ());
	}
	SharedPointer& operator= (SharedPointer&& o) noexcept
	{
		if (this != &o)
		{
			T* old = ptr;
			ptr = o.ptr;
			o.ptr = nullptr;
			if (old)
				old->forget ();
		}
		return *this;
	}

	T* get () const noexcept { return ptr; }
	T* operator-> () const noexcept { return ptr; }
	T& operator* () const noexcept { return *ptr; }
	operator T* () const noexcept { return ptr; }
	explicit operator bool () const noexcept { return ptr != nullptr; }

	/** Gives up the held reference without releasing it. */
	T* take () noexcept
	{
		T* p = ptr;
		ptr = nullptr;
		return p;
	}

	template <class U>
	SharedPointer<U> cast () const
	{
		return SharedPointer<U> (dynamic_cast<U*> (ptr));
	}

private:
	T* ptr {nullptr};
};

/** Wraps a freshly made object, adopting its first reference. */
template <class T>
SharedPointer<T> owned (T* p) noexcept
{
	return SharedPointer<T> (p, false);
}

/** Wraps an object, taking a new reference. */
template <class T>
SharedPointer<T> shared (T* p) noexcept
{
	return SharedPointer<T> (p, true);
}

/** Makes an object and wraps it, adopting its first reference. */
template <class T, class... Args>
SharedPointer<T> makeOwned (Args&&... args)
{
	return SharedPointer<T> (new T (std::forward<Args> (args)...), false);
}

//------------------------------------------------------------------------
/** Base of the library's objects: reference counted, receives messages. */
class CBaseObject : public ReferenceCounted
{
public:
	CBaseObject () = default;
	CBaseObject (const CBaseObject& o) : ReferenceCounted (o) {}
	~CBaseObject () noexcept override = default;
	CBaseObject& operator= (const CBaseObject&) { return *this; }

	/** Receives a message; ids are compared by pointer. UI thread. */
	virtual CMessageResult notify (CBaseObject* sender, IdStringPtr message)
	{
		(void)sender;
		(void)message;
		return kMessageUnknown;
	}
	/** A new object copied from this one, or null when not copyable. UI thread. */
	virtual CBaseObject* newCopy () const { return nullptr; }
};

/** Keeps an object alive for the scope (remember now, forget at the end). */
class CBaseObjectGuard
{
public:
	explicit CBaseObjectGuard (IReference* o) : obj (o)
	{
		if (obj)
			obj->remember ();
	}
	~CBaseObjectGuard () noexcept
	{
		if (obj)
			obj->forget ();
	}
	CBaseObjectGuard (const CBaseObjectGuard&) = delete;
	CBaseObjectGuard& operator= (const CBaseObjectGuard&) = delete;

private:
	IReference* obj;
};

} // namespace VSTGUI

/** Declares newCopy for a class with a copy constructor. */
#define CLASS_METHODS(name, parent)                                                   \
	VSTGUI::CBaseObject* newCopy () const override { return new name (*this); }
#define CLASS_METHODS_NOCOPY(name, parent)

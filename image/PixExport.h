#pragma once
// The image classes are part of the symbol table that the client program
// exports; members marked PIX_EXPORT (and whole classes where every member is
// exported) carry the attribute.
#define PIX_EXPORT __declspec(dllexport)

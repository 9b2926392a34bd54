// Keeps the client library non-empty while its subsystems are added.
namespace client { int LibraryRevision() { return 1; } }

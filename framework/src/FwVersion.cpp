// Placeholder translation unit: the framework library always has one source.
namespace fw { int LayerVersion() { return 1; } }

// Placeholder until the headless runner is written.
namespace enlacor {}

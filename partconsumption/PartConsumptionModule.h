#pragma once
// Makes the part consumption engine reachable by interface query on products,
// resources and manufactured assemblies. Idempotent.
void RegisterPartConsumptionModule();

"""Mutation testing of the exact core on libclang's syntax tree (scripts/mutate.py runs it)."""

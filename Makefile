# The two commands a newcomer needs: `make run` and `make test`.
JOBS ?= $(shell nproc)

.PHONY: run test build build-debug deps clean

run: build
	cd build/game && ./steel_spree $(ARGS)

test: build-debug
	ctest --preset debug -j $(JOBS)

build: deps
	cmake --preset release >/dev/null
	cmake --build --preset release -j $(JOBS)

build-debug: deps
	cmake --preset debug >/dev/null
	cmake --build --preset debug -j $(JOBS)

deps:
	@bash scripts/install-deps.sh

clean:
	rm -rf build
